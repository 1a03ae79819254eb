#include "Glowny.h"

#include "engine/ErrorBox.h"
#include "engine/Executor.h"
#include "platform/Platform.h"

namespace tockwell {

TF_Glowna::TF_Glowna(platform::Platform &platform, const Clock &clock, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_platform(platform), m_tick(clock)
{
    setObjectName(QStringLiteral("F_Glowna"));
    setWindowTitle(QStringLiteral("F_Glowna"));
    // A coarse timer may drift by up to 5 % and skip a wall-clock second; the tick must not.
    t_TimerGlowny.setObjectName(QStringLiteral("t_TimerGlowny"));
    t_TimerGlowny.setTimerType(Qt::PreciseTimer);
    t_TimerGlowny.setInterval(1000);
    connect(&t_TimerGlowny, &QTimer::timeout, this, &TF_Glowna::t_TimerGlownyTimer);
}

TF_Glowna::~TF_Glowna() = default;

void TF_Glowna::setHost(AlarmHost &host)
{
    m_executor = std::make_unique<Executor>(m_platform, host, m_alarm);
}

void TF_Glowna::startTick()
{
    m_tick.reset();
    t_TimerGlowny.start();
}

void TF_Glowna::stopTick()
{
    t_TimerGlowny.stop();
}

void TF_Glowna::t_TimerGlownyTimer()
{
    guarded(m_platform.dialogs(), [this] {
        if (m_tick.tick(m_alarm) && m_executor)
            m_executor->WykonajAkcje();
    });
}

} // namespace tockwell
