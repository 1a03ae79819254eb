#pragma once

#include "../Input.h"

namespace tockwell::platform {

/// The pointer and the input devices of an X11 desktop: pointer movements and clicks through
/// XTest, suspension by disabling the XInput devices. Elsewhere the pointer is read and placed
/// through Qt where it can be, and the rest does nothing.
class X11Input final : public Input
{
public:
    QPoint cursorPos() override;
    void setCursorPos(QPoint pos) override;
    void mouseButton(MouseButtonEvent event, QPoint pos) override;
    void suspendKeyboard() override;
    void suspendMouse() override;
    /// Key events through XTest, on the keys of the current layout group that carry the keysyms
    /// (Shift added for a keysym on a key's second level).
    void pressKeys(const KeyCombination &keys) override;
};

/// The kinds of device that a suspension disables.
enum class DeviceKind
{
    Keyboard,
    Pointer
};

/// Disables every physical device of `kind` on the X display until the X server restarts; the
/// XTest devices stay, so the program's own simulated clicks still work. Returns how many
/// devices were disabled.
int disableInputDevices(DeviceKind kind);

} // namespace tockwell::platform
