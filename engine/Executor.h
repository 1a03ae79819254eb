#pragma once

#include "Actions.h"

namespace tockwell {

struct ArmedAlarm;

/// Carries out the armed alarm when it is due: the pre-alarm steps of the options, the action of
/// its kind, then the after-firing step (disarm, stay armed, or count down again).
class Executor final
{
public:
    Executor(platform::Platform &platform, AlarmHost &host, ArmedAlarm &alarm)
        : m_actions(platform, host), m_host(host), m_alarm(alarm)
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
};

} // namespace tockwell
