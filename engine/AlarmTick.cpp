#include "AlarmTick.h"

#include "Clock.h"
#include "ClockTime.h"
#include "core/ArmedAlarm.h"

namespace tockwell {

void AlarmTick::reset()
{
    m_previous = m_clock.now().toUTC();
    m_skipped.reset();
}

bool AlarmTick::tick(ArmedAlarm &alarm)
{
    return tick(alarm, m_clock.now());
}

bool AlarmTick::tick(ArmedAlarm &alarm, const QDateTime &now)
{
    m_skipped.reset();
    if (alarm.Mode == ModeClock) {
        // The seconds are counted in UTC, converted once: every conversion of a local time
        // looks at the system's time zone again.
        const QDateTime utc = now.toUTC();
        auto seen = clockTimeSeen(alarm, utc, now.toLocalTime().time());
        m_skipped = clockTimeSkipped(alarm, utc);
        m_previous = utc;
        // A clock set back over the moment it fired shows that moment again: once is enough.
        if (seen && m_lastFired && *seen <= *m_lastFired)
            seen.reset();
        if (m_skipped && m_lastFired && *m_skipped <= *m_lastFired)
            m_skipped.reset();
        if (seen)
            m_lastFired = seen;
        return seen.has_value();
    }
    if (alarm.Mode == ModeCountdown) {
        // Wraps like the 32-bit counter it is; a countdown below 0 never fires.
        alarm.CountdownLeft = int(unsigned(alarm.CountdownLeft) - 1u);
        return alarm.CountdownLeft == 0;
    }
    return false;
}

std::chrono::milliseconds AlarmTick::nextTick(const ArmedAlarm &alarm) const
{
    if (alarm.Mode == ModeClock)
        return delayToNextSecond(m_clock.now().time());
    return CountdownInterval;
}

std::chrono::milliseconds AlarmTick::delayToNextSecond(QTime now)
{
    const int msec = now.isValid() ? now.msec() : 0;
    return std::chrono::milliseconds(1000 - msec) + SecondOffset;
}

std::optional<qint64> AlarmTick::clockTimeSeen(const ArmedAlarm &alarm, const QDateTime &utc,
                                               QTime localTime) const
{
    const qint64 nowSecond = utc.toSecsSinceEpoch();
    qint64 first = nowSecond;
    if (m_previous) {
        const qint64 gap = m_previous->msecsTo(utc);
        if (gap > 0 && gap <= MaxGapMs)
            first = m_previous->toSecsSinceEpoch() + 1;
    }
    for (qint64 second = first; second <= nowSecond; ++second) {
        const QTime time =
            second == nowSecond ? localTime : QDateTime::fromSecsSinceEpoch(second).time();
        if (time.hour() == alarm.Hour && time.minute() == alarm.Minute &&
            time.second() == alarm.Second)
            return second;
    }
    return std::nullopt;
}

std::optional<qint64> AlarmTick::clockTimeSkipped(const ArmedAlarm &alarm,
                                                  const QDateTime &utc) const
{
    const QTime time(alarm.Hour, alarm.Minute, alarm.Second);
    if (!m_previous || !time.isValid() || m_previous->msecsTo(utc) <= MaxGapMs)
        return std::nullopt;
    // The seconds strictly between the previous tick's and this one's went unseen.
    const auto moment = lastClockTime(utc.toSecsSinceEpoch(), time);
    if (moment && *moment > m_previous->toSecsSinceEpoch())
        return moment;
    return std::nullopt;
}

} // namespace tockwell
