#pragma once

#include "../Display.h"
#include "../Input.h"
#include "LinuxDesktop.h"
#include "X11Input.h"

#include <memory>

namespace tockwell::platform {

// The input and display operations sent to the back end that the session's means name: the
// Wayland back end's where it is `wayland-wlroots` or `wayland-kwin`, mutter's or KWin's bus
// services where they are named, X11's otherwise. Reading the pointer and the screen stays with
// X11 (XWayland's root window in a Wayland session), so that stored points mean the same on
// every back end.

/// The input of the session: keys and the pointer's moves and clicks routed by their means.
class SessionInput final : public Input
{
public:
    SessionInput(std::unique_ptr<X11Input> x11, LinuxDesktop &desktop);

    QPoint cursorPos() override { return m_x11->cursorPos(); }
    void setCursorPos(QPoint pos) override;
    void mouseButton(MouseButtonEvent event, QPoint pos) override;
    void suspendKeyboard() override;
    void suspendMouse() override;
    void resumeInput() override;
    QSize screenSize() override { return m_x11->screenSize(); }
    void pressKeys(const KeyCombination &keys) override;
    QString cannotPress(const KeyCombination &keys) override;

private:
    /// The back end that the session's means of `operation` name, asked once for each call.
    QString backEnd(Operation operation);
    /// KWin's input devices where a suspension goes to them.
    KwinInputDevices *kwinDevices();

    std::unique_ptr<X11Input> m_x11;
    LinuxDesktop &m_desktop;
};

/// The display of the session: the monitor's power and the desktop shown, routed by their means.
class SessionDisplay final : public Display
{
public:
    SessionDisplay(std::unique_ptr<Display> x11, LinuxDesktop &desktop);

    QRect workArea() override { return m_x11->workArea(); }
    void minimizeAllWindows() override;
    void startScreenSaver() override { m_x11->startScreenSaver(); }
    void monitorLowPower() override;
    void keepAbove(WId window) override { m_x11->keepAbove(window); }

private:
    std::unique_ptr<Display> m_x11;
    LinuxDesktop &m_desktop;
};

} // namespace tockwell::platform
