#pragma once

#include <QList>
#include <QPoint>
#include <QSize>

namespace tockwell::platform {

/// The kinds of device that a suspension disables.
enum class DeviceKind
{
    Keyboard,
    Pointer
};

enum class MouseButtonEvent
{
    LeftDown,
    LeftUp
};

/// A key combination as X keysyms: the modifiers, held in this order, and the key pressed and
/// released while they are held.
struct KeyCombination
{
    QList<quint32> modifiers;
    quint32 key = 0;

    friend bool operator==(const KeyCombination &, const KeyCombination &) = default;
};

/// Sends the key events of pressing `keys` by keysym, as `send(keysym, down)`: the modifiers
/// down in order, the key down and up, the modifiers up in reverse order.
template <typename Send> void sendKeyEvents(const KeyCombination &keys, Send &&send)
{
    for (const quint32 modifier : keys.modifiers)
        send(modifier, true);
    send(keys.key, true);
    send(keys.key, false);
    for (auto modifier = keys.modifiers.crbegin(); modifier != keys.modifiers.crend(); ++modifier)
        send(*modifier, false);
}

/// The pointer and the input devices.
class Input
{
public:
    Input() = default;
    Input(const Input &) = delete;
    Input &operator=(const Input &) = delete;
    virtual ~Input() = default;

    /// The pointer's position in screen pixels: the device pixels of the display, whatever
    /// scale the toolkit draws at. Every point of this interface is in these pixels.
    virtual QPoint cursorPos() = 0;

    /// Moves the pointer; a movement ends a running screen saver.
    virtual void setCursorPos(QPoint pos) = 0;

    /// A left button press or release where the pointer is; `pos` is where the caller put it.
    virtual void mouseButton(MouseButtonEvent event, QPoint pos) = 0;

    /// Stops the keyboard from reaching the desktop (the "keyboard,disable" command).
    virtual void suspendKeyboard() = 0;

    /// Stops the mouse from reaching the desktop (the "mouse_disabled" command).
    virtual void suspendMouse() = 0;

    /// Gives back every device the suspensions above took away; nothing when none is taken.
    /// The devices also come back when the program ends in any way, a kill included.
    virtual void resumeInput() = 0;

    /// The size of the screen in the pixels of cursorPos: the bound of a click point.
    virtual QSize screenSize() = 0;

    /// Presses `keys` for the window that has the keyboard focus: the modifiers down in order,
    /// the key down and up, the modifiers up in reverse order, with the modifiers that the
    /// layout needs for the key's character. A character that the layout lacks is still typed,
    /// where the session allows it.
    virtual void pressKeys(const KeyCombination &keys) = 0;
    /// Why `keys` cannot be pressed in this session, as a sentence for the user; empty where
    /// they can.
    virtual QString cannotPress(const KeyCombination &keys)
    {
        Q_UNUSED(keys)
        return {};
    }
};

} // namespace tockwell::platform
