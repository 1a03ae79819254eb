#pragma once

#include "core/ArmedAlarm.h"
#include "engine/AlarmWake.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace tockwell {

class AlarmSlot;
class Clock;
class SecondTicker;
class StoreFile;
namespace platform {
class Platform;
}
namespace armed {
struct DamagedEntry;
}

/// Every alarm of the program, one AlarmSlot per setup window: which are armed and in what
/// order, the one tick a second that looks at all of them, waking the computer for the
/// soonest clock-time alarm, and the store's copy of each armed alarm (`Armed\<n>`), from which
/// the alarms come back at the next start.
class AlarmRoster final : public QObject
{
    Q_OBJECT

public:
    /// Makes a slot with a window of its own.
    using SlotMaker = std::function<std::unique_ptr<AlarmSlot>()>;

    /// `options` are the program's option flags; `notify` shows a notice to the user.
    /// `seconds` ticks the clock-time alarms with everything else that happens at each second.
    AlarmRoster(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                SecondTicker &seconds, ArmedAlarm &options, AlarmWake::Notify notify,
                QObject *parent = nullptr);
    ~AlarmRoster() override;

    /// The first window's slot, which lives as long as the program; then `makeSlot` makes the
    /// others.
    void setFirst(std::unique_ptr<AlarmSlot> first, SlotMaker makeSlot);
    AlarmSlot &first() const { return *m_slots.front(); }
    /// How many windows there are, the first among them.
    std::size_t slotCount() const { return m_slots.size(); }

    /// The most windows, and so alarms, at once.
    static constexpr int MaxSlots = 32;
    /// A new slot with its window, or nothing when there are MaxSlots already.
    AlarmSlot *newSlot();

    /// `slot`'s alarm was armed (Start, a snooze, the store): it gets its number (`number`, for
    /// an alarm the store kept, else the lowest free one and its line in the store). Throws
    /// StoreError when the store refuses the line; the alarm is armed anyway.
    void armed(AlarmSlot &slot, int number = 0, const QDateTime &armedAt = {});
    /// `slot`'s alarm was disarmed: its line leaves the store.
    void disarmed(AlarmSlot &slot);
    /// A slot that is not the first goes when it is neither armed, nor shown, nor firing.
    void dropIfUnused(AlarmSlot &slot);

    /// The slot of `window`; none for a window of no slot.
    AlarmSlot *slotOf(const QWidget &window) const;
    /// How many alarms other than `slot`'s show their popup now.
    int shownPopupsBesides(const AlarmSlot &slot) const;

    /// Silences the alarms of the windows other than the first that are hidden: their popups
    /// close, their sounds stop.
    void silenceHidden();

    /// The armed alarms in the order they were armed.
    std::vector<AlarmSlot *> armedSlots() const;
    /// The armed alarms, soonest first.
    std::vector<AlarmSlot *> bySoonest() const;

    /// Arms the alarms that the store kept at the program's last end: the clock-time ones in
    /// windows of their own (the first in the first window), the countdowns dropped. Tells the
    /// user in one notice about missed, dropped and damaged ones.
    void restoreAtStart();
    /// Reads the store's alarms again after another program changed them: arms the new ones,
    /// disarms those that went.
    void reload();

    /// The time now, by the program's clock.
    QDateTime now() const;

    /// The machine's sleep: called once, before the first arming.
    AlarmWake &wake() { return m_wake; }
    /// The option WakeFromSleep may have changed.
    void optionsChanged();
    /// Looks at the clock-time alarms at once (the machine goes to sleep or has woken).
    void lookAtClockAlarms();

signals:
    /// An alarm was armed or disarmed.
    void changed();
    /// `slot` is about to fire.
    void firing(AlarmSlot &slot);

private:
    void tick();
    void fire(AlarmSlot &slot);
    /// Starts, keeps or stops the one tick as the armed alarms need it: the wall-clock seconds
    /// from the first clock-time alarm on until nothing is armed, else a countdown's seconds.
    void scheduleTick();
    bool ticking() const;
    qint64 untilNextTick() const;
    bool clockAlarmArmed() const;
    /// The alarm that waking from sleep is for: the soonest clock-time alarm.
    void updateWake();
    /// The wake after an arming or a disarming: it holds while a clock-time alarm is armed
    /// (`clockBefore`: whether one was before).
    void wakeFollows(bool clockBefore);
    int freeNumber() const;
    /// The user's lines about the store's damaged alarms, each told once.
    QStringList damagedLines(const std::vector<armed::DamagedEntry> &damaged);
    void writeToStore(const AlarmSlot &slot);
    /// Arms the stored `alarm` in a window of its own (the first when it is free).
    /// False when there is no window for it.
    bool rearm(const ArmedAlarm &alarm, int number, const QDateTime &armedAt, bool snooze);
    void remove(AlarmSlot &slot);

    platform::Platform &m_platform;
    StoreFile &m_storeFile;
    const Clock &m_clock;
    ArmedAlarm &m_options;
    /// The soonest armed clock-time alarm, as the wake looks at it.
    ArmedAlarm m_wakeFor;
    AlarmWake::Notify m_notify;
    AlarmWake m_wake;
    std::vector<std::unique_ptr<AlarmSlot>> m_slots;
    SlotMaker m_makeSlot;
    SecondTicker &m_seconds;
    /// The countdowns' tick while no clock-time alarm has been armed.
    QTimer m_countdownTimer;
    /// The steady clock of the countdowns' due moments.
    QElapsedTimer m_steady;
    /// The tick comes at the wall-clock seconds, as clock-time alarms need.
    bool m_onWallSeconds = false;
    /// The numbers of damaged store lines: kept free, and told once.
    std::set<int> m_damagedNumbers;
    QStringList m_toldDamaged;
};

} // namespace tockwell
