#include "SecondTicker.h"

#include "AlarmTick.h"
#include "Clock.h"

namespace tockwell {

SecondTicker::SecondTicker(const Clock &clock, QObject *parent)
    : QObject(parent), m_clock(clock), m_timer(this)
{
    // A coarse timer may drift by up to 5 % and skip a wall-clock second; the tick must not.
    m_timer.setObjectName(u"t_TimerGlowny"_qs);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SecondTicker::fire);
}

void SecondTicker::stopListening(QObject *listener)
{
    const auto it = m_listeners.find(listener);
    if (it == m_listeners.end())
        return;
    disconnect(it->second.first);
    disconnect(it->second.second);
    m_listeners.erase(it);
    if (m_listeners.empty())
        m_timer.stop();
}

std::chrono::milliseconds SecondTicker::remaining() const
{
    return std::chrono::milliseconds(std::max(0, m_timer.remainingTime()));
}

void SecondTicker::start()
{
    if (!m_timer.isActive())
        m_timer.start(AlarmTick::delayToNextSecond(m_clock.now().time()));
}

void SecondTicker::fire()
{
    // Aligned afresh before the listeners run: the seconds go on while one of them waits in an
    // event loop of its own (a message box), and the drift against the wall clock, or a clock
    // that was set, is corrected at every second.
    m_timer.start(AlarmTick::delayToNextSecond(m_clock.now().time()));
    emit second();
}

} // namespace tockwell
