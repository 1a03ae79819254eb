#pragma once

#include <QString>

namespace tockwell {

/// What the alarm actions need of the program's windows; the forms implement it.
class AlarmHost
{
public:
    AlarmHost() = default;
    AlarmHost(const AlarmHost &) = delete;
    AlarmHost &operator=(const AlarmHost &) = delete;
    virtual ~AlarmHost() = default;

    /// Hides the setup window (it stays alive in the tray).
    virtual void hideSetupWindow() = 0;

    /// Shows the alarm popup: the setup window takes no input until the popup closes, the popup
    /// beeps twice a second when `beep`, and it slides into the corner; returns when it is there.
    virtual void showAlarmPopup(bool beep) = 0;

    /// Plays `file` through the setup window's player; throws MediaDeviceError when the player
    /// cannot open or play it.
    virtual void playAlarmSound(const QString &file) = 0;

    /// Disarms the alarm as the Stop button does.
    virtual void disarm() = 0;
};

} // namespace tockwell
