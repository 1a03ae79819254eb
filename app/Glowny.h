#pragma once

#include "engine/AlarmTick.h"
#include "engine/ArmedAlarm.h"

#include <QTimer>
#include <QWidget>

#include <memory>

namespace tockwell {

class AlarmHost;
class Clock;
class Executor;
namespace platform {
class Platform;
}

/// The hidden main form: it owns the armed alarm, the once-a-second tick and the executor.
class TF_Glowna final : public QWidget
{
    Q_OBJECT

public:
    TF_Glowna(platform::Platform &platform, const Clock &clock, QWidget *parent = nullptr);
    ~TF_Glowna() override;

    ArmedAlarm &alarm() { return m_alarm; }

    /// The windows the executor works with; set once they exist.
    void setHost(AlarmHost &host);

    /// Arms: switches the tick on. Disarms: switches it off.
    void startTick();
    void stopTick();
    bool isArmed() const { return t_TimerGlowny.isActive(); }

private:
    void t_TimerGlownyTimer();

    platform::Platform &m_platform;
    ArmedAlarm m_alarm;
    AlarmTick m_tick;
    std::unique_ptr<Executor> m_executor;
    QTimer t_TimerGlowny;
};

} // namespace tockwell
