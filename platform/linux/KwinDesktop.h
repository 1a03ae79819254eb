#pragma once

namespace tockwell::platform {

/// KDE Plasma's own means that live on the session bus rather than in Wayland (those are
/// tockwell-wayland.so's): the desktop shown through KWin's `showDesktop`. KWin shows the windows
/// again when the caller's bus connection closes, so the call comes from the running program.
class KwinDesktop
{
public:
    /// Whether KWin's service is on the session bus.
    static bool offersService();
    static void showDesktop();
};

} // namespace tockwell::platform
