#pragma once

#include "Actions.h"

namespace tockwell {

struct ArmedAlarm;

/// Carries out the armed alarm when it is due: the pre-alarm steps of the options, the action of
/// its kind, then the after-firing step (disarm, stay armed, or count down again).
class Executor final
{
public:
    /// Fires `alarm` with the option flags of `options` (the program's, shared by every alarm).
    Executor(platform::Platform &platform, AlarmHost &host, ArmedAlarm &alarm,
             const ArmedAlarm &options)
        : m_actions(platform, host), m_host(host), m_alarm(alarm), m_options(options)
    {}
    /// Fires `alarm` with its own option flags.
    Executor(platform::Platform &platform, AlarmHost &host, ArmedAlarm &alarm)
        : Executor(platform, host, alarm, alarm)
    {}

    /// Fires the alarm. An error of the action ends it before the after-firing step, so the
    /// alarm stays armed.
    void fire();

private:
    void preAlarmSteps();
    void runAction();
    void afterFiring();

    Actions m_actions;
    AlarmHost &m_host;
    ArmedAlarm &m_alarm;
    const ArmedAlarm &m_options;
};

} // namespace tockwell
