#pragma once

#include "core/Error.h"
#include "engine/AlarmHost.h"
#include "platform/recording/Recorder.h"

#include <memory>

namespace tockwell::test {

/// The program's windows as the alarm engine sees them, recorded in the platform's log so that
/// the order of window and platform calls can be checked together.
class FakeHost final : public AlarmHost
{
public:
    explicit FakeHost(std::shared_ptr<platform::Recorder> recorder)
        : m_recorder(std::move(recorder))
    {}

    void hideSetupWindow() override { m_recorder->record(QStringLiteral("Host hideSetupWindow")); }
    void showAlarmPopup(bool beep) override
    {
        m_recorder->record(
            QStringLiteral("Host showAlarmPopup beep=%1").arg(beep ? u"on"_qs : u"off"_qs));
    }
    void playAlarmSound(const QString &file) override
    {
        m_recorder->record(u"Host playAlarmSound "_qs + platform::Recorder::quoted(file));
        if (soundFails)
            throw MediaDeviceError(QStringLiteral("The specified device is not open."));
        if (soundThrowsOther)
            throw Error(QStringLiteral("Another error"));
    }
    void disarm() override { m_recorder->record(QStringLiteral("Host disarm")); }

    bool soundFails = false;
    bool soundThrowsOther = false;

private:
    std::shared_ptr<platform::Recorder> m_recorder;
};

} // namespace tockwell::test
