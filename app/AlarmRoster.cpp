#include "AlarmRoster.h"

#include "AlarmSlot.h"
#include "engine/Clock.h"
#include "engine/ClockTime.h"
#include "engine/ErrorBox.h"
#include "engine/SecondTicker.h"
#include "platform/Platform.h"
#include "settings/ArmedAlarmStore.h"
#include "settings/Store.h"
#include "ui/setup/SetupWindow.h"

#include <QMetaObject>

#include <algorithm>

namespace tockwell {
namespace {

constexpr auto DroppedText = u"Odliczanie „%1” (zostało %2) przepadło: program nie działał, więc "
                             u"nie wiadomo, ile czasu minęło.";
constexpr auto DamagedText =
    u"Ustawionego alarmu z wpisu „Armed\\%1” w ustawieniach nie można odczytać (%2); pominięto go.";
constexpr auto RestoredTitle = u"Tockwell";
constexpr auto NoWindowText = u"Alarmu z wpisu „Armed\\%1” nie można teraz ustawić: otwarta jest "
                              u"już największa liczba okien alarmów (%2). Wpis pozostaje w "
                              u"ustawieniach.";

/// How many ticks a countdown due at `dueMs` has still to count when the next tick comes at
/// `nextTickMs` and the others a second apart: up to the tick nearest its moment, at least one.
int ticksUntil(qint64 dueMs, qint64 nextTickMs)
{
    return int(std::max<qint64>(1, qRound64(double(dueMs - nextTickMs) / 1000.0) + 1));
}

} // namespace

AlarmRoster::AlarmRoster(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                         SecondTicker &seconds, ArmedAlarm &options, AlarmWake::Notify notify,
                         QObject *parent)
    : QObject(parent), m_platform(platform), m_storeFile(storeFile), m_clock(clock),
      m_options(options), m_notify(std::move(notify)),
      m_wake(platform.sleep(), platform.wakeAlarm(), clock, m_wakeFor, m_notify),
      m_seconds(seconds), m_countdownTimer(this)
{
    m_countdownTimer.setObjectName(u"countdownTick"_qs);
    m_countdownTimer.setTimerType(Qt::PreciseTimer);
    m_countdownTimer.setInterval(AlarmTick::CountdownInterval);
    connect(&m_countdownTimer, &QTimer::timeout, this, &AlarmRoster::tick);
    m_steady.start();
}

AlarmRoster::~AlarmRoster()
{
    // The windows go before the program's end leaves the wake: nothing may fire meanwhile.
    m_countdownTimer.stop();
    m_seconds.stopListening(this);
}

void AlarmRoster::setFirst(std::unique_ptr<AlarmSlot> first, SlotMaker makeSlot)
{
    m_slots.clear();
    m_slots.push_back(std::move(first));
    m_makeSlot = std::move(makeSlot);
}

AlarmSlot *AlarmRoster::newSlot()
{
    if (m_slots.size() >= MaxSlots || !m_makeSlot)
        return nullptr;
    m_slots.push_back(m_makeSlot());
    return m_slots.back().get();
}

std::vector<AlarmSlot *> AlarmRoster::armedSlots() const
{
    std::vector<AlarmSlot *> armed;
    for (const auto &slot : m_slots)
        if (slot->isArmed())
            armed.push_back(slot.get());
    std::stable_sort(armed.begin(), armed.end(), [](const AlarmSlot *a, const AlarmSlot *b) {
        return a->armedAt() < b->armedAt();
    });
    return armed;
}

AlarmSlot *AlarmRoster::slotOf(const QWidget &window) const
{
    for (const auto &slot : m_slots)
        if (slot->holds(window))
            return slot.get();
    return nullptr;
}

QDateTime AlarmRoster::now() const
{
    return m_clock.now();
}

int AlarmRoster::shownPopupsBesides(const AlarmSlot &slot) const
{
    return int(std::count_if(m_slots.begin(), m_slots.end(), [&slot](const auto &each) {
        return each.get() != &slot && each->shownPopup();
    }));
}

void AlarmRoster::silenceHidden()
{
    for (std::size_t i = 1; i < m_slots.size(); ++i)
        if (!m_slots[i]->window().isVisible())
            m_slots[i]->silence();
}

std::vector<AlarmSlot *> AlarmRoster::bySoonest() const
{
    std::vector<AlarmSlot *> armed = armedSlots();
    const QDateTime now = m_clock.now();
    std::stable_sort(armed.begin(), armed.end(), [&now](const AlarmSlot *a, const AlarmSlot *b) {
        return a->secondsUntilDue(now) < b->secondsUntilDue(now);
    });
    return armed;
}

int AlarmRoster::freeNumber() const
{
    for (int number = 1; number <= armed::MaxAlarms; ++number) {
        const bool taken = m_damagedNumbers.count(number) != 0 ||
                           std::any_of(m_slots.begin(), m_slots.end(), [number](const auto &slot) {
                               return slot->number() == number;
                           });
        if (!taken)
            return number;
    }
    return 0;
}

void AlarmRoster::armed(AlarmSlot &slot, int number, const QDateTime &armedAt)
{
    const bool clockBefore = clockAlarmArmed();
    slot.setArmed(true, number != 0 ? number : freeNumber(),
                  armedAt.isValid() ? armedAt : m_clock.now().toUTC());
    slot.tick().reset();
    // A countdown armed among others counts the ticks up to the one nearest its moment.
    const qint64 now = m_steady.elapsed();
    slot.setCountdownDueMs(now + qint64(slot.alarm().CountdownLeft) * 1000);
    if (slot.alarm().Mode == ModeCountdown && ticking())
        slot.alarm().CountdownLeft = ticksUntil(slot.countdownDueMs(), now + untilNextTick());
    scheduleTick();
    wakeFollows(clockBefore);
    emit changed();
    // An alarm the store kept is there already.
    if (number == 0)
        writeToStore(slot);
}

void AlarmRoster::disarmed(AlarmSlot &slot)
{
    const int number = slot.number();
    const bool clockBefore = clockAlarmArmed();
    slot.setArmed(false, 0, QDateTime());
    scheduleTick();
    wakeFollows(clockBefore);
    emit changed();
    dropIfUnused(slot);
    if (number != 0)
        armed::removeAlarm(m_storeFile, number);
}

void AlarmRoster::writeToStore(const AlarmSlot &slot)
{
    if (slot.number() == 0)
        return;
    armed::writeAlarm(m_storeFile, {.number = slot.number(),
                                    .alarm = slot.alarm(),
                                    .armedAt = slot.armedAt(),
                                    .snooze = slot.isSnooze()});
}

void AlarmRoster::dropIfUnused(AlarmSlot &slot)
{
    // Later: the slot may be on the stack of its own firing or of its window's handler.
    QMetaObject::invokeMethod(
        this,
        [this, which = QPointer<AlarmSlot>(&slot)] {
            if (!which || which == &first() || !which->isUnused())
                return;
            remove(*which);
        },
        Qt::QueuedConnection);
}

void AlarmRoster::remove(AlarmSlot &slot)
{
    const auto it = std::find_if(m_slots.begin(), m_slots.end(),
                                 [&slot](const auto &each) { return each.get() == &slot; });
    if (it == m_slots.end())
        return;
    it->release()->deleteLater();
    m_slots.erase(it);
}

bool AlarmRoster::clockAlarmArmed() const
{
    return std::any_of(m_slots.begin(), m_slots.end(), [](const auto &slot) {
        return slot->isArmed() && slot->alarm().Mode == ModeClock;
    });
}

bool AlarmRoster::ticking() const
{
    return m_onWallSeconds || m_countdownTimer.isActive();
}

qint64 AlarmRoster::untilNextTick() const
{
    return m_onWallSeconds ? qint64(m_seconds.remaining().count())
                           : qint64(m_countdownTimer.remainingTime());
}

void AlarmRoster::scheduleTick()
{
    if (armedSlots().empty()) {
        m_countdownTimer.stop();
        m_seconds.stopListening(this);
        m_onWallSeconds = false;
        return;
    }
    if (m_onWallSeconds)
        return; // countdowns alone keep the seconds' phase too
    if (!clockAlarmArmed()) {
        // A countdown ticks every second from its arming.
        if (!m_countdownTimer.isActive())
            m_countdownTimer.start();
        return;
    }
    // Clock-time alarms tick at the wall-clock seconds, with the setup windows' clocks; the
    // countdowns armed before take the tick nearest to their own moments.
    const bool countdownsTicking = m_countdownTimer.isActive();
    m_countdownTimer.stop();
    m_onWallSeconds = true;
    m_seconds.listen(this, [this] { tick(); });
    if (!countdownsTicking)
        return;
    const qint64 nextTick = m_steady.elapsed() + untilNextTick();
    for (AlarmSlot *slot : armedSlots())
        if (slot->alarm().Mode == ModeCountdown)
            slot->alarm().CountdownLeft = ticksUntil(slot->countdownDueMs(), nextTick);
}

void AlarmRoster::tick()
{
    guarded(m_platform.dialogs(), [this] {
        std::vector<QPointer<AlarmSlot>> armed;
        std::vector<bool> due;
        std::vector<std::optional<AlarmWake::Skipped>> skipped;
        const QDateTime now = m_clock.now();
        for (AlarmSlot *slot : armedSlots()) {
            armed.emplace_back(slot);
            due.push_back(slot->tick().tick(slot->alarm(), now));
            const auto moment = slot->tick().skipped();
            skipped.push_back(
                moment ? std::optional(AlarmWake::Skipped{*moment, slot->alarm().ActionKind})
                       : std::nullopt);
        }
        const std::vector<bool> late = m_wake.ticked(skipped);
        for (std::size_t i = 0; i < armed.size(); ++i) {
            if (late[i] && armed[i])
                armed[i]->tick().firedAt(skipped[i]->moment);
            // Each in the order of arming, each on its own: an error of one stops no other.
            if ((due[i] || late[i]) && armed[i] && armed[i]->isArmed())
                guarded(m_platform.dialogs(), [this, &armed, i] { fire(*armed[i]); });
        }
    });
}

void AlarmRoster::fire(AlarmSlot &slot)
{
    emit firing(slot);
    slot.fire();
    // A disarmed alarm has told its change already (disarmed()).
    if (!slot.isArmed())
        return;
    // A countdown that repeats counts again from now; the next alarm may be another now.
    slot.setCountdownDueMs(m_steady.elapsed() + qint64(slot.alarm().CountdownLeft) * 1000);
    emit changed();
    // A clock-time alarm that repeats stays armed: its line says when it last fired, so that the
    // next start does not take this firing for a missed one.
    if (slot.alarm().Mode == ModeClock) {
        slot.setArmed(true, slot.number(), m_clock.now().toUTC());
        writeToStore(slot);
    }
}

void AlarmRoster::lookAtClockAlarms()
{
    // The seconds up to a sleep, and those slept through, are looked at now rather than at the
    // next tick. A clock-time tick changes nothing in the alarms; countdowns are left to their
    // ticks.
    if (clockAlarmArmed())
        tick();
    updateWake();
}

void AlarmRoster::wakeFollows(bool clockBefore)
{
    updateWake();
    const bool clockNow = clockAlarmArmed();
    if (clockNow && !clockBefore)
        m_wake.armed();
    else if (!clockNow && clockBefore)
        m_wake.disarmed();
    else
        m_wake.optionsChanged(); // the soonest alarm, and so the wake time, may be another
}

void AlarmRoster::updateWake()
{
    const AlarmSlot *soonest = nullptr;
    const qint64 now = m_clock.now().toSecsSinceEpoch();
    qint64 soonestMoment = 0;
    for (const auto &slot : m_slots) {
        if (!slot->isArmed() || slot->alarm().Mode != ModeClock)
            continue;
        const ArmedAlarm &alarm = slot->alarm();
        const auto moment = nextClockTime(now, QTime(alarm.Hour, alarm.Minute, alarm.Second));
        if (moment && (!soonest || *moment < soonestMoment)) {
            soonest = slot.get();
            soonestMoment = *moment;
        }
    }
    m_wakeFor = soonest ? soonest->alarm() : ArmedAlarm();
    m_wakeFor.WakeFromSleep = m_options.WakeFromSleep;
}

void AlarmRoster::optionsChanged()
{
    updateWake();
    m_wake.optionsChanged();
}

bool AlarmRoster::rearm(const ArmedAlarm &alarm, int number, const QDateTime &armedAt, bool snooze)
{
    AlarmSlot *slot = first().isArmed() || first().window().isVisible() ? newSlot() : &first();
    if (slot)
        slot->rearm(alarm, number, armedAt, snooze);
    return slot != nullptr;
}

void AlarmRoster::restoreAtStart()
{
    const armed::ReadResult stored = armed::readAlarms(m_storeFile);
    QStringList lines = damagedLines(stored.damaged);
    bool missed = false;
    const qint64 now = m_clock.now().toSecsSinceEpoch();
    std::vector<armed::StoredAlarm> alarms = stored.alarms;
    std::stable_sort(alarms.begin(), alarms.end(),
                     [](const auto &a, const auto &b) { return a.armedAt < b.armedAt; });
    for (const armed::StoredAlarm &each : alarms) {
        const ArmedAlarm &alarm = each.alarm;
        if (alarm.Mode == ModeCountdown) {
            lines << QString::fromUtf16(DroppedText)
                         .arg(alarmSummary(alarm), countdownText(alarm.CountdownLeft));
            armed::removeAlarm(m_storeFile, each.number);
            continue;
        }
        const QTime time(alarm.Hour, alarm.Minute, alarm.Second);
        if (const auto due = nextClockTime(each.armedAt.toSecsSinceEpoch(), time);
            due && *due <= now) {
            missed = true;
            lines << AlarmWake::missedLine(alarm.ActionKind, *due,
                                           AlarmWake::MissedBecause::NotRunning);
        }
        rearm(alarm, each.number, each.armedAt, each.snooze);
    }
    if (!lines.isEmpty())
        m_notify(missed ? AlarmWake::missedTitle() : QString::fromUtf16(RestoredTitle),
                 lines.join(u'\n'));
}

void AlarmRoster::reload()
{
    const armed::ReadResult stored = armed::readAlarms(m_storeFile);
    QStringList lines = damagedLines(stored.damaged);
    std::set<int> numbers;
    for (const armed::StoredAlarm &each : stored.alarms) {
        numbers.insert(each.number);
        const bool live = std::any_of(m_slots.begin(), m_slots.end(), [&each](const auto &slot) {
            return slot->number() == each.number;
        });
        // Windows that hold no armed alarm may fill the roster meanwhile.
        if (!live && !rearm(each.alarm, each.number, each.armedAt, each.snooze))
            lines << QString::fromUtf16(NoWindowText).arg(each.number).arg(MaxSlots);
    }
    for (AlarmSlot *slot : armedSlots())
        if (numbers.count(slot->number()) == 0)
            slot->window().ib_StopClick();
    if (!lines.isEmpty())
        m_notify(QString::fromUtf16(RestoredTitle), lines.join(u'\n'));
}

QStringList AlarmRoster::damagedLines(const std::vector<armed::DamagedEntry> &damaged)
{
    QStringList lines;
    for (const armed::DamagedEntry &entry : damaged) {
        bool isNumber = false;
        if (const int number = entry.name.toInt(&isNumber); isNumber)
            m_damagedNumbers.insert(number);
        if (!m_toldDamaged.contains(entry.name)) {
            m_toldDamaged << entry.name;
            lines << QString::fromUtf16(DamagedText).arg(entry.name, entry.reason);
        }
    }
    return lines;
}

} // namespace tockwell
