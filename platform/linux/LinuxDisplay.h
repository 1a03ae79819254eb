#pragma once

#include "../Display.h"
#include "X11.h"

#include <QTimer>

#include <chrono>
#include <functional>

namespace tockwell::platform {

namespace x11 {
struct DpmsFunctions;
}

/// The DPMS of the X display, through libXext loaded at the first use. Each does nothing (the
/// monitor counts as on) without X11, without libXext or where the X server has no DPMS.
class Dpms final
{
public:
    Dpms();
    Dpms(const Dpms &) = delete;
    Dpms &operator=(const Dpms &) = delete;
    ~Dpms();

    /// Puts the monitor into DPMS standby; false, having done nothing, where there is no DPMS
    /// (Xvfb, some remote displays) or the monitor is not capable of it. `switchedOn` tells
    /// whether DPMS was off and had to be switched on for it.
    bool standby(bool *switchedOn = nullptr);
    /// The monitor is on (true also where it cannot be asked).
    bool monitorOn();
    /// Switches DPMS off.
    void switchOff();

private:
    x11::Extension<x11::DpmsFunctions> m_functions;
};

/// Gives the user's "DPMS off" back once the monitor that the program put to sleep (switching
/// DPMS on for it) is on again. Looks once per interval while it waits; its end (the program's)
/// gives the setting back at once.
class DpmsRestore final
{
public:
    struct Server
    {
        std::function<bool()> monitorOn; ///< true also when the server cannot be asked
        std::function<void()> switchDpmsOff;
    };

    DpmsRestore(Server server, std::chrono::milliseconds interval);
    DpmsRestore(const DpmsRestore &) = delete;
    DpmsRestore &operator=(const DpmsRestore &) = delete;
    ~DpmsRestore();

    /// Starts waiting for the monitor; waiting already, it goes on.
    void watch();
    bool watching() const { return m_timer.isActive(); }

private:
    void check();

    Server m_server;
    QTimer m_timer;
};

/// The screen and the desktop's windows of a Linux desktop.
class LinuxDisplay final : public Display
{
public:
    LinuxDisplay();

    QRect workArea() override;
    /// The primary monitor's work area, in Qt's pixels: the monitor cut by the window manager's
    /// work area and by its panels' struts.
    static QRect primaryWorkArea();
    void minimizeAllWindows() override;
    void startScreenSaver() override;
    void monitorLowPower() override;
    void keepAbove(WId window) override;

private:
    Dpms m_dpms; // outlives m_dpmsRestore, which uses it to the end
    DpmsRestore m_dpmsRestore;
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

} // namespace tockwell::platform
