#pragma once

#include "../Display.h"

namespace tockwell::platform {

/// The screen and the desktop's windows of a Linux desktop.
class LinuxDisplay final : public Display
{
public:
    QRect workArea() override;
    void minimizeAllWindows() override;
    void startScreenSaver() override;
    void monitorLowPower() override;
    void keepAbove(WId window) override;
};

/// Asks the window manager to show the desktop (`show`) or the windows again, through
/// `_NET_SHOWING_DESKTOP`. Returns false, having done nothing, without X11 or without a window
/// manager that announces itself through `_NET_SUPPORTING_WM_CHECK`.
bool setShowingDesktop(bool show);

/// Adds the EWMH states `_NET_WM_STATE_ABOVE`, `_NET_WM_STATE_SKIP_TASKBAR` and
/// `_NET_WM_STATE_SKIP_PAGER` to the mapped window `window`; false, having done nothing, without
/// X11.
bool addAboveStates(unsigned long window);

/// Starts the session's screen saver through its D-Bus service (org.freedesktop.ScreenSaver,
/// then org.gnome.ScreenSaver); returns false when none is there or it refused.
bool activateScreenSaverService();

/// Starts the X server's screen saver; false without X11.
bool activateX11ScreenSaver();

/// Puts the monitor into DPMS standby; false, having done nothing, without X11 or where the X
/// server has no DPMS (Xvfb, some remote displays) or the monitor is not capable of it.
bool dpmsStandby();

} // namespace tockwell::platform
