#pragma once

#include <QDateTime>

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

    /// Forgets the previous tick; called when the alarm is armed.
    void reset()
    {
        m_previous.reset();
        m_skipped.reset();
    }

    /// One tick: decrements the countdown of a "D" alarm and reports whether `alarm` is due.
    bool tick(ArmedAlarm &alarm);

    /// The longest gap between two ticks whose seconds in between still count as seen.
    static constexpr qint64 MaxGapMs = 2000;

    /// The moment (seconds since 1970 UTC) at which the local clock showed a "G" alarm's time
    /// among the seconds that the last tick skipped, the latest if several; else nothing.
    std::optional<qint64> skipped() const { return m_skipped; }

private:
    bool clockTimeSeen(const ArmedAlarm &alarm, const QDateTime &now) const;
    std::optional<qint64> clockTimeSkipped(const ArmedAlarm &alarm, const QDateTime &now) const;

    const Clock &m_clock;
    std::optional<QDateTime> m_previous;
    std::optional<qint64> m_skipped;
};

} // namespace tockwell
