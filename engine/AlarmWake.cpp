#include "AlarmWake.h"

#include "AlarmTick.h"
#include "Clock.h"
#include "ClockTime.h"
#include "core/ArmedAlarm.h"
#include "platform/Sleep.h"
#include "platform/WakeAlarm.h"

#include <algorithm>

namespace tockwell {
namespace {

constexpr auto InhibitWho = u"Tockwell";
constexpr auto InhibitWhy = u"Budzik ustawiony";
constexpr auto CannotWakeTitle = u"Tockwell";
constexpr auto CannotWakeText =
    u"Tockwell nie może wybudzić komputera ze stanu uśpienia na alarm (brak programu "
    u"pomocniczego tockwell-wake, usługi polkit lub zgody na jej użycie). Alarm jest ustawiony, "
    u"ale nie zadziała, jeśli komputer będzie wtedy uśpiony.";
constexpr auto MissedTitle = u"Przegapiony alarm";
constexpr auto MissedText = u"Alarm „%1” miał zadziałać o godzinie %2 (%3), ale komputer był "
                            u"wtedy uśpiony. Alarm pozostaje ustawiony na godzinę %2.";
constexpr auto JumpedText = u"Alarm „%1” miał zadziałać o godzinie %2 (%3), ale zegar komputera "
                            u"został wtedy przestawiony do przodu. Alarm pozostaje ustawiony na "
                            u"godzinę %2.";
constexpr auto NotRunningText = u"Alarm „%1” miał zadziałać o godzinie %2 (%3), ale program "
                                u"wtedy nie działał. Alarm pozostaje ustawiony na godzinę %2.";

QTime alarmTime(const ArmedAlarm &alarm)
{
    return QTime(alarm.Hour, alarm.Minute, alarm.Second);
}

} // namespace

AlarmWake::AlarmWake(platform::Sleep &sleep, platform::WakeAlarm &wakeAlarm, const Clock &clock,
                     const ArmedAlarm &alarm, Notify notify)
    : m_sleep(sleep), m_wakeAlarm(wakeAlarm), m_clock(clock), m_alarm(alarm),
      m_notify(std::move(notify))
{}

AlarmWake::~AlarmWake()
{
    // The program's end, also between the announcements of a sleep and of the resume: a wake
    // time of ours goes with it, or the machine would wake for an alarm that no longer exists.
    m_asleep = false;
    disarmed();
}

void AlarmWake::watch(std::function<void()> lookAtAlarm)
{
    m_lookAtAlarm = std::move(lookAtAlarm);
}

void AlarmWake::startWatching()
{
    // Not before it matters: a program that never arms a clock-time alarm asks nothing.
    if (m_watchStarted || !clockAlarmArmed())
        return;
    m_watchStarted = true;
    // The listener may outlive this object inside the platform; then it does nothing.
    m_watching = m_sleep.watchSleep([this, alive = std::weak_ptr<bool>(m_alive)](bool sleeping) {
        if (alive.expired())
            return;
        if (sleeping && m_lookAtAlarm)
            m_lookAtAlarm();
        prepareForSleep(sleeping);
        if (!sleeping && m_lookAtAlarm)
            m_lookAtAlarm();
    });
}

void AlarmWake::armed()
{
    m_armed = true;
    m_canWake.reset();
    // The arming counts as a tick: a jump of the clock before the first one is seen too.
    m_lastTick = m_clock.now();
    m_sinceLastTick.start();
    m_sleptSinceTick = m_asleep; // a sleep while disarmed is no gap of this alarm's ticks
    startWatching();
    update();
}

void AlarmWake::disarmed()
{
    m_armed = false;
    update();
}

void AlarmWake::optionsChanged()
{
    update();
}

bool AlarmWake::clockAlarmArmed() const
{
    return m_armed && m_alarm.Mode == ModeClock;
}

bool AlarmWake::wakeWanted()
{
    if (!clockAlarmArmed() || !m_alarm.WakeFromSleep)
        return false;
    if (!m_canWake) {
        m_canWake = !m_wakeAlarm.canWake();
        if (!*m_canWake)
            tellCannotWake();
    }
    return *m_canWake;
}

void AlarmWake::update()
{
    const bool hold = !m_asleep && wakeWanted();
    if (hold && !m_holding)
        m_holding =
            m_sleep.inhibitSleep(QString::fromUtf16(InhibitWho), QString::fromUtf16(InhibitWhy));
    else if (!hold && m_holding) {
        m_sleep.releaseSleep();
        m_holding = false;
    }
    if (!m_asleep && !clockAlarmArmed() && m_wakeSet)
        clearWakeTime();
}

void AlarmWake::prepareForSleep(bool goingToSleep)
{
    if (goingToSleep) {
        m_asleep = true;
        m_sleptSinceTick = true;
        if (wakeWanted())
            setWakeTime();
        // Only now may the sleep go on.
        update();
    } else {
        m_asleep = false;
        if (m_wakeSet)
            clearWakeTime();
        update();
    }
}

std::optional<qint64> AlarmWake::wakeMoment(qint64 nowSecond, QTime time)
{
    const auto due = nextClockTime(nowSecond, time);
    if (!due)
        return std::nullopt;
    return std::max(*due - LeadSeconds, nowSecond + MinimumAheadSeconds);
}

void AlarmWake::setWakeTime()
{
    const auto moment = wakeMoment(m_clock.now().toSecsSinceEpoch(), alarmTime(m_alarm));
    if (!moment)
        return;
    // Even a refused request may have left a wake time behind; clear it later either way.
    m_wakeSet = true;
    if (m_wakeAlarm.setWakeTime(*moment))
        tellCannotWake();
}

void AlarmWake::clearWakeTime()
{
    m_wakeSet = m_wakeAlarm.clearWakeTime().has_value();
}

void AlarmWake::tellCannotWake()
{
    if (m_toldCannotWake)
        return;
    m_toldCannotWake = true;
    m_notify(QString::fromUtf16(CannotWakeTitle), QString::fromUtf16(CannotWakeText));
}

bool AlarmWake::wallClockJumped(const QDateTime &now)
{
    if (!m_lastTick.isValid()) {
        m_lastTick = now;
        m_sinceLastTick.start();
        return false;
    }
    const qint64 wallGap = m_lastTick.msecsTo(now);
    const qint64 steadyGap = m_sinceLastTick.restart();
    m_lastTick = now;
    // The steady clock stands still while the machine sleeps; the wall clock goes on.
    return wallGap - steadyGap > AlarmTick::MaxGapMs;
}

bool AlarmWake::ticked(std::optional<qint64> skipped)
{
    std::vector<std::optional<Skipped>> one(1);
    if (skipped)
        one.front() = Skipped{*skipped, m_alarm.ActionKind};
    return ticked(one).front();
}

std::vector<bool> AlarmWake::ticked(const std::vector<std::optional<Skipped>> &skipped)
{
    std::vector<bool> late(skipped.size(), false);
    const QDateTime now = m_clock.now();
    const bool jumped = wallClockJumped(now);
    const bool slept = m_sleptSinceTick;
    if (!m_asleep)
        m_sleptSinceTick = false;
    if (!clockAlarmArmed() || (!slept && !jumped))
        return late;
    QStringList missed;
    for (std::size_t i = 0; i < skipped.size(); ++i) {
        if (!skipped[i])
            continue;
        // Without logind a sleep shows only as such a jump; a late wake fires as a late clock
        // does.
        if (!slept && now.toSecsSinceEpoch() - skipped[i]->moment <= LateFireSeconds) {
            late[i] = true;
            continue;
        }
        missed << missedLine(skipped[i]->name, skipped[i]->moment,
                             !slept && m_watching ? MissedBecause::ClockJumped
                                                  : MissedBecause::Asleep);
    }
    if (!missed.isEmpty())
        m_notify(missedTitle(), missed.join(u'\n'));
    return late;
}

QString AlarmWake::missedTitle()
{
    return QString::fromUtf16(MissedTitle);
}

QString AlarmWake::missedLine(const QString &name, qint64 due, MissedBecause why)
{
    const QDateTime moment = QDateTime::fromSecsSinceEpoch(due);
    const auto text = why == MissedBecause::Asleep        ? MissedText
                      : why == MissedBecause::ClockJumped ? JumpedText
                                                          : NotRunningText;
    return QString::fromUtf16(text).arg(name, moment.time().toString(u"HH:mm:ss"_qs),
                                        moment.date().toString(u"d.MM.yyyy"_qs));
}

} // namespace tockwell
