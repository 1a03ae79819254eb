#pragma once

#include "core/ArmedAlarm.h"

#include <vector>

namespace tockwell {

class AlarmHost;
class SecondTicker;

/// What the setup window needs of the program around it: the armed alarm and its tick, the
/// secondary windows, and the end of the program.
class SetupHost
{
public:
    SetupHost() = default;
    SetupHost(const SetupHost &) = delete;
    SetupHost &operator=(const SetupHost &) = delete;
    virtual ~SetupHost() = default;

    /// The window's own alarm, which Start fills.
    virtual ArmedAlarm &alarm() = 0;
    /// The program's option flags (those of ArmedAlarm), which every alarm fires with.
    virtual const ArmedAlarm &options() const = 0;
    /// Arms the window's alarm: the once-a-second tick looks at it. Disarms: it no longer does.
    virtual void startTick() = 0;
    virtual void stopTick() = 0;
    /// Whether the window's alarm is armed.
    virtual bool isArmed() const = 0;
    /// Every alarm of the program that is armed now, this window's among them, in the order they
    /// were armed.
    virtual std::vector<ArmedAlarm> armedAlarms() const = 0;

    /// Shows the options dialog or the About window; the caller has disabled itself first and
    /// the window enables it again when it closes.
    virtual void showOptions() = 0;
    virtual void showAbout() = 0;

    /// Ends the program.
    virtual void quit() = 0;

    /// Whether the desktop has a tray to hide the program in. Without one, closing the setup
    /// window must minimise it to the taskbar instead of hiding it.
    virtual bool trayAvailable() const = 0;

    /// What happens at each wall-clock second; the window's clock among it.
    virtual SecondTicker &seconds() = 0;

    /// The windows that the alarm's actions use (the popup, the player), for the preview.
    virtual AlarmHost &actionWindows() = 0;
};

} // namespace tockwell
