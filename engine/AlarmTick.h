#pragma once

#include <QDateTime>

#include <chrono>
#include <optional>

namespace tockwell {

class Clock;
struct ArmedAlarm;

/// The decision of the once-a-second tick: is the armed alarm due now?
///
/// A countdown counts ticks. A clock-time alarm is due when the local time shows its second; the
/// seconds since the previous tick count as seen when that tick came at most two seconds earlier,
/// so a tick that arrives a little late does not skip the target second. A longer gap (a blocked
/// program, sleep, the clock set forward) skips it until the same time the next day.
class AlarmTick final
{
public:
    explicit AlarmTick(const Clock &clock) : m_clock(clock) {}

    /// Starts afresh from now, as if a tick came at the arming; called when the alarm is armed,
    /// so that a clock set forward before the first tick skips seconds as any gap does. The
    /// moment it last fired is kept, so that a clock set back over it does not fire a re-armed
    /// alarm twice.
    void reset();

    /// The alarm fired at `moment` (seconds since 1970 UTC) other than through tick(): late,
    /// for a moment that skipped() reported.
    void firedAt(qint64 moment) { m_lastFired = moment; }

    /// One tick: decrements the countdown of a "D" alarm and reports whether `alarm` is due.
    bool tick(ArmedAlarm &alarm);
    /// The same at the wall-clock time `now`, read once for all the alarms of one tick.
    bool tick(ArmedAlarm &alarm, const QDateTime &now);

    /// How long from now until the next tick. A countdown ticks every second from its arming. A
    /// clock-time alarm ticks a few ms after each wall-clock second begins, so that it fires
    /// on the dot of its second; the delay is taken afresh at every tick, which corrects the
    /// drift of the timer against the wall clock and a clock that was set.
    std::chrono::milliseconds nextTick(const ArmedAlarm &alarm) const;

    /// The interval of a countdown's tick.
    static constexpr std::chrono::milliseconds CountdownInterval{1000};
    /// How long after the beginning of its second a clock-time tick comes: enough for the wall
    /// clock to show the new second even when the timer comes a little early.
    static constexpr std::chrono::milliseconds SecondOffset{5};
    /// The delay, seen at the wall-clock time `now`, to SecondOffset after the beginning of the
    /// next second: between SecondOffset (exclusive) and a second plus SecondOffset. A tick that
    /// comes a little early therefore never ticks twice in one second.
    static std::chrono::milliseconds delayToNextSecond(QTime now);

    /// The longest gap between two ticks whose seconds in between still count as seen.
    static constexpr qint64 MaxGapMs = 2000;

    /// The moment (seconds since 1970 UTC) at which the local clock showed a "G" alarm's time
    /// among the seconds that the last tick skipped, the latest if several; else nothing.
    std::optional<qint64> skipped() const { return m_skipped; }

private:
    std::optional<qint64> clockTimeSeen(const ArmedAlarm &alarm, const QDateTime &utc,
                                        QTime localTime) const;
    std::optional<qint64> clockTimeSkipped(const ArmedAlarm &alarm, const QDateTime &utc) const;

    const Clock &m_clock;
    std::optional<QDateTime> m_previous; ///< the previous tick's time, in UTC
    std::optional<qint64> m_skipped;
    std::optional<qint64> m_lastFired; ///< the moment a clock-time alarm last fired
};

} // namespace tockwell
