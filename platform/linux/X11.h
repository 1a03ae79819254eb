#pragma once

struct _XDisplay;

namespace tockwell::platform::x11 {

/// The X display the program's windows live on, or null where there is none: under Wayland,
/// offscreen, without a display, or in a build without X11. Every X11-only operation checks it
/// and does nothing on null.
_XDisplay *display();

} // namespace tockwell::platform::x11
