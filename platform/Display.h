#pragma once

#include <QRect>
#include <QtGui/qwindowdefs.h>

namespace tockwell::platform {

/// The screen and the desktop's windows as a whole.
class Display
{
public:
    Display() = default;
    Display(const Display &) = delete;
    Display &operator=(const Display &) = delete;
    virtual ~Display() = default;

    /// The part of the primary screen not covered by panels, read anew at every call.
    virtual QRect workArea() = 0;

    /// Minimises all windows (what Windows key + M does).
    virtual void minimizeAllWindows() = 0;

    /// Starts the screen saver.
    virtual void startScreenSaver() = 0;

    /// Puts the monitor into its low-power state.
    virtual void monitorLowPower() = 0;

    /// Asks the window manager to keep the shown top-level window `window` above all others and
    /// out of the taskbar, the pager and the task switcher. Asking again re-applies it.
    virtual void keepAbove(WId window) = 0;
};

} // namespace tockwell::platform
