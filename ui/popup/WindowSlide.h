#pragma once

class QWidget;

namespace tockwell {
namespace platform {
class Display;
}

/// Slides `window` into the bottom-right corner of the work area (`in`) or out below it, moving it
/// `step` pixels at a time with a pause of `pause` ms after each step. The event loop keeps
/// running meanwhile. With `hold` > 0 a window slid in stays `hold` ms, then slides out. `lift`
/// raises the corner by that many pixels.
void slideWindow(QWidget &window, platform::Display &display, int pause, int step, int hold,
                 bool in, int lift = 0);

} // namespace tockwell
