#include "AlarmSlot.h"

#include "AlarmRoster.h"
#include "MainController.h"
#include "engine/ClockTime.h"
#include "ui/popup/AlarmPopup.h"
#include "ui/setup/SetupWindow.h"

#include <QScopeGuard>

namespace tockwell {

AlarmSlot::AlarmSlot(MainController &program, platform::Platform &platform, const Clock &clock)
    : m_program(program), m_tick(clock), m_executor(platform, *this, m_alarm, program.options())
{}

AlarmSlot::AlarmSlot(MainController &program, platform::Platform &platform, StoreFile &storeFile,
                     const Clock &clock, const QString &programDir)
    : m_program(program), m_tick(clock), m_executor(platform, *this, m_alarm, program.options()),
      m_ownWindow(std::make_unique<SetupWindow>(platform, storeFile, clock, *this, programDir)),
      m_ownPopup(std::make_unique<LazyForm<AlarmPopup>>([&platform, window = m_ownWindow.get()] {
          return std::make_unique<AlarmPopup>(*window, platform);
      }))
{
    setWindow(*m_ownWindow, *m_ownPopup);
}

AlarmSlot::~AlarmSlot() = default;

void AlarmSlot::setWindow(SetupWindow &window, LazyForm<AlarmPopup> &popup)
{
    m_window = &window;
    m_popup = &popup;
    connect(m_window, &SetupWindow::soundEnded, this,
            [this] { m_program.roster().dropIfUnused(*this); });
    m_popup->whenCreated([this](AlarmPopup &shown) {
        connect(&shown, &AlarmPopup::snoozeRequested, this,
                [this](int minutes) { m_program.snooze(*this, minutes); });
        connect(&shown, &AlarmPopup::closed, this,
                [this] { m_program.roster().dropIfUnused(*this); });
    });
}

bool AlarmSlot::holds(const QWidget &window) const
{
    return m_window == &window;
}

bool AlarmSlot::isUnused() const
{
    return !m_armed && m_firing == 0 && !m_window->isVisible() && !shownPopup() &&
           !m_window->isSounding();
}

void AlarmSlot::setArmed(bool armed, int number, const QDateTime &armedAt)
{
    m_armed = armed;
    m_number = number;
    m_armedAt = armedAt;
}

void AlarmSlot::rearm(const ArmedAlarm &alarm, int number, const QDateTime &armedAt, bool snooze)
{
    m_alarm = alarm;
    m_snooze = snooze;
    m_window->showArmed(alarm);
    m_program.roster().armed(*this, number, armedAt);
}

void AlarmSlot::fire()
{
    ++m_firing;
    const auto fired = qScopeGuard([this] { --m_firing; });
    m_executor.fire();
}

void AlarmSlot::silence()
{
    if (AlarmPopup *popup = shownPopup())
        popup->close();
    if (m_window->isSounding())
        m_window->stopAlarmSound();
}

qint64 AlarmSlot::secondsUntilDue(const QDateTime &now) const
{
    if (m_alarm.Mode == ModeCountdown)
        return m_alarm.CountdownLeft;
    const qint64 second = now.toSecsSinceEpoch();
    const auto due = nextClockTime(second - 1, QTime(m_alarm.Hour, m_alarm.Minute, m_alarm.Second));
    return due ? *due - second : std::numeric_limits<qint64>::max();
}

QString AlarmSlot::menuLine(const QDateTime &now) const
{
    const QString when =
        m_alarm.Mode == ModeCountdown
            ? u"za "_qs + countdownText(secondsUntilDue(now))
            : QTime(m_alarm.Hour, m_alarm.Minute, m_alarm.Second).toString(u"HH:mm:ss"_qs);
    const QString line = when + u" — "_qs + alarmSummary(m_alarm);
    return m_snooze ? u"drzemka: "_qs + line : line;
}

AlarmPopup *AlarmSlot::shownPopup() const
{
    AlarmPopup *popup = m_popup->created();
    return popup && popup->isVisible() ? popup : nullptr;
}

const ArmedAlarm &AlarmSlot::options() const
{
    return m_program.options();
}

void AlarmSlot::startTick()
{
    // Start arms what the window composes: never a snooze.
    m_snooze = false;
    m_program.roster().armed(*this);
}

void AlarmSlot::stopTick()
{
    m_program.roster().disarmed(*this);
}

std::vector<ArmedAlarm> AlarmSlot::armedAlarms() const
{
    std::vector<ArmedAlarm> armed;
    for (const AlarmSlot *slot : m_program.roster().armedSlots())
        armed.push_back(slot->m_alarm);
    return armed;
}

void AlarmSlot::showOptions()
{
    m_program.showOptions(m_window);
}

void AlarmSlot::showAbout()
{
    m_program.showAbout(m_window);
}

void AlarmSlot::quit()
{
    m_program.quit();
}

SecondTicker &AlarmSlot::seconds()
{
    return m_program.seconds();
}

bool AlarmSlot::trayAvailable() const
{
    return m_program.trayAvailable();
}

void AlarmSlot::hideSetupWindow()
{
    m_window->close();
}

void AlarmSlot::showAlarmPopup(bool beep)
{
    // Popups of alarms that overlap stack upwards from the corner.
    AlarmPopup &popup = m_popup->get();
    const int below = m_program.roster().shownPopupsBesides(*this);
    popup.showAlarm(beep, below * popup.height());
}

void AlarmSlot::playAlarmSound(const QString &file)
{
    m_window->playAlarmSound(file);
}

void AlarmSlot::disarm()
{
    m_window->ib_StopClick();
}

} // namespace tockwell
