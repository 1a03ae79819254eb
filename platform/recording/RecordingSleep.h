#pragma once

#include "../Sleep.h"
#include "../WakeAlarm.h"
#include "Recorder.h"

#include <memory>

namespace tockwell::platform {

/// Sleep that records its calls; a test plays the machine going to sleep and waking with
/// prepareForSleep().
class RecordingSleep final : public Sleep
{
public:
    explicit RecordingSleep(std::shared_ptr<Recorder> recorder) : m_recorder(std::move(recorder)) {}

    bool watchSleep(Listener listener) override;
    bool inhibitSleep(const QString &who, const QString &why) override;
    void releaseSleep() override;

    /// What the system announces before a sleep (true) and after a resume (false).
    void prepareForSleep(bool goingToSleep);

private:
    std::shared_ptr<Recorder> m_recorder;
    Listener m_listener;
};

/// A wake time that is only recorded.
class RecordingWakeAlarm final : public WakeAlarm
{
public:
    explicit RecordingWakeAlarm(std::shared_ptr<Recorder> recorder)
        : m_recorder(std::move(recorder))
    {}

    std::optional<Failure> canWake() override;
    std::optional<Failure> setWakeTime(qint64 epochSeconds) override;
    std::optional<Failure> clearWakeTime() override;

private:
    std::shared_ptr<Recorder> m_recorder;
};

} // namespace tockwell::platform
