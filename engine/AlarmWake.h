#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tockwell {

class Clock;
struct ArmedAlarm;
namespace platform {
class Sleep;
class WakeAlarm;
} // namespace platform

/// A clock-time alarm and the machine's sleep. While a "G" alarm is armed (and the option
/// WakeFromSleep is on) a delay lock on sleep is held; when the machine is about to sleep the
/// real-time clock is set to wake it a minute before the alarm's next moment and the lock is
/// given back; after the resume the wake time is cleared and the lock taken again. A resume
/// after which the alarm's second had gone by unseen is told to the user; the alarm stays armed.
/// Countdowns count ticks and have nothing to do with any of this.
class AlarmWake final
{
public:
    /// Shows a notice to the user: a title and a text.
    using Notify = std::function<void(const QString &title, const QString &text)>;

    AlarmWake(platform::Sleep &sleep, platform::WakeAlarm &wakeAlarm, const Clock &clock,
              const ArmedAlarm &alarm, Notify notify);
    AlarmWake(const AlarmWake &) = delete;
    AlarmWake &operator=(const AlarmWake &) = delete;
    ~AlarmWake();

    /// Listens to the system's sleep announcements from the first arming of a clock-time alarm
    /// on. `lookAtAlarm` (the owner's look at the alarm, as a tick does) runs before a sleep is
    /// handled here, so that the seconds up to it count as seen, and after a resume is handled,
    /// so that those slept through are found at once. Call once, before the first arming.
    void watch(std::function<void()> lookAtAlarm);

    /// The alarm was armed (Start, or re-armed after firing).
    void armed();
    /// The alarm was disarmed (Stop, the after-firing step, the program's end): nothing stays
    /// held and no wake time stays set.
    void disarmed();
    /// The options may have changed: takes or gives back the lock as WakeFromSleep now says.
    void optionsChanged();

    /// The machine is about to sleep (true) or has woken (false).
    void prepareForSleep(bool goingToSleep);

    /// After every tick of a "G" alarm: `skipped` is the alarm's moment that the tick's gap
    /// skipped (AlarmTick::skipped). When a sleep lies in that gap the user is told. When the
    /// wall clock jumped ahead of the steady clock over it (set by hand, by NTP after long
    /// off-line, a virtual machine resumed), an alarm at most LateFireSeconds behind is to fire
    /// late (true), one further behind is told.
    [[nodiscard]] bool ticked(std::optional<qint64> skipped);
    /// One armed clock-time alarm's moment that a tick's gap skipped, and its name for the user.
    struct Skipped
    {
        qint64 moment = 0;
        QString name;
    };
    /// ticked() for several clock-time alarms at one tick: for each, whether it fires late. The
    /// missed ones are told in one notice that names each.
    [[nodiscard]] std::vector<bool> ticked(const std::vector<std::optional<Skipped>> &skipped);
    /// The notice's line for an alarm named `name` that missed its moment `due` (seconds since
    /// 1970 UTC), for `why`.
    enum class MissedBecause
    {
        Asleep,
        ClockJumped,
        NotRunning,
    };
    static QString missedLine(const QString &name, qint64 due, MissedBecause why);
    static QString missedTitle();

    /// How far behind its moment an alarm skipped by a jump of the clock still fires.
    static constexpr qint64 LateFireSeconds = 60;

    /// Whether the lock on sleep is held now.
    bool holdsSleep() const { return m_holding; }

    /// How long before the alarm the machine is woken, and the least time ahead of now for it.
    static constexpr qint64 LeadSeconds = 60;
    static constexpr qint64 MinimumAheadSeconds = 10;

    /// The moment to wake the machine for the alarm that the clock shows at `time`, seen at
    /// `nowSecond`; nothing when the clock will not show it within two days.
    static std::optional<qint64> wakeMoment(qint64 nowSecond, QTime time);

private:
    void startWatching();
    bool clockAlarmArmed() const;
    bool wakeWanted();
    void update();
    void setWakeTime();
    void clearWakeTime();
    void tellCannotWake();

    bool wallClockJumped(const QDateTime &now);

    platform::Sleep &m_sleep;
    platform::WakeAlarm &m_wakeAlarm;
    const Clock &m_clock;
    const ArmedAlarm &m_alarm;
    Notify m_notify;

    std::function<void()> m_lookAtAlarm;
    const std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_watchStarted = false;
    bool m_watching = false; ///< the system announces sleep and resume
    bool m_armed = false;
    std::optional<bool> m_canWake; ///< asked once per arming
    bool m_holding = false;
    bool m_wakeSet = false;        ///< a wake time of ours may be set
    bool m_asleep = false;         ///< between the announcements of sleep and resume
    bool m_sleptSinceTick = false; ///< a sleep began since the last tick
    bool m_toldCannotWake = false; ///< said once per run
    QDateTime m_lastTick;
    QElapsedTimer m_sinceLastTick;
};

} // namespace tockwell
