#pragma once

#include "core/ArmedAlarm.h"
#include "engine/AlarmHost.h"
#include "engine/Clock.h"
#include "engine/SecondTicker.h"
#include "ui/setup/SetupHost.h"

namespace tockwell::test {

/// The program around the setup window: an armed alarm and a tick that only says whether it runs.
class FakeSetupHost final : public SetupHost, public AlarmHost
{
public:
    ArmedAlarm &alarm() override { return armed; }
    const ArmedAlarm &options() const override { return armed; }
    std::vector<ArmedAlarm> armedAlarms() const override
    {
        return ticking ? std::vector<ArmedAlarm>{armed} : std::vector<ArmedAlarm>{};
    }
    void startTick() override { ticking = true; }
    void stopTick() override { ticking = false; }
    bool isArmed() const override { return ticking; }
    void showOptions() override { ++optionsShown; }
    void showAbout() override { ++aboutShown; }
    void quit() override { ++quits; }
    bool trayAvailable() const override { return tray; }
    SecondTicker &seconds() override { return ticker; }
    AlarmHost &actionWindows() override { return *this; }

    // The windows of the actions: only counted.
    void hideSetupWindow() override { ++setupHidden; }
    void showAlarmPopup(bool beep) override { popups.append(beep); }
    void playAlarmSound(const QString &file) override { sounds.append(file); }
    void disarm() override { ticking = false; }

    SystemClock tickerClock;
    SecondTicker ticker{tickerClock};
    ArmedAlarm armed;
    bool ticking = false;
    int optionsShown = 0;
    int aboutShown = 0;
    int quits = 0;
    bool tray = true;
    int setupHidden = 0;
    QList<bool> popups;
    QStringList sounds;
};

} // namespace tockwell::test
