#pragma once

#include "LazyForm.h"
#include "core/ArmedAlarm.h"
#include "engine/AlarmHost.h"
#include "engine/AlarmTick.h"
#include "engine/Executor.h"
#include "ui/setup/SetupHost.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <memory>

namespace tockwell {

class AlarmPopup;
class MainController;
class StoreFile;
class SetupWindow;

/// One alarm of the program and the setup window that composes and shows it: what the window
/// needs of the program (SetupHost) and what the alarm's actions need of the windows
/// (AlarmHost). The main form keeps one per window; the first window's lives as long as the
/// program, the others' as long as their window.
class AlarmSlot final : public QObject, public SetupHost, public AlarmHost
{
    Q_OBJECT

public:
    /// The first window's slot; its window is set once it exists.
    AlarmSlot(MainController &program, platform::Platform &platform, const Clock &clock);
    /// Another window's slot, which makes that window and its popup and owns them.
    AlarmSlot(MainController &program, platform::Platform &platform, StoreFile &storeFile,
              const Clock &clock, const QString &programDir);
    ~AlarmSlot() override;

    /// The window that composes and shows this alarm and the alarm's popup, made when first
    /// shown; set once, before it is armed.
    void setWindow(SetupWindow &window, LazyForm<AlarmPopup> &popup);
    SetupWindow &window() const { return *m_window; }
    /// Whether `window` is this slot's.
    bool holds(const QWidget &window) const;
    /// Neither armed, nor shown, nor firing, nor showing its popup, nor playing its sound.
    bool isUnused() const;

    /// The number under which the store keeps the armed alarm (1 … 32), 0 while disarmed.
    int number() const { return m_number; }
    /// When it was armed, in UTC: the order in which alarms of one second fire.
    const QDateTime &armedAt() const { return m_armedAt; }
    /// Armed by the snooze of a fired alarm.
    bool isSnooze() const { return m_snooze; }
    /// Arms the alarm that the store kept (at an earlier run: `number`, `armedAt`), or that a
    /// snooze composed, and shows it in the window, locked.
    void rearm(const ArmedAlarm &alarm, int number, const QDateTime &armedAt, bool snooze);
    /// What the roster decided: armed or not, the number in the store (0: none) and when.
    void setArmed(bool armed, int number, const QDateTime &armedAt);
    /// When a countdown is due, in ms of the roster's steady clock.
    qint64 countdownDueMs() const { return m_countdownDueMs; }
    void setCountdownDueMs(qint64 dueMs) { m_countdownDueMs = dueMs; }
    /// The once-a-second tick's look at this alarm.
    AlarmTick &tick() { return m_tick; }
    /// Fires the alarm now.
    void fire();
    /// Ends what the firing shows or plays: the popup, the sound.
    void silence();
    /// The seconds until the alarm is due, seen at `now`.
    qint64 secondsUntilDue(const QDateTime &now) const;
    /// The line of the alarm in the menu "Alarmy": "07:00:00 — Odegraj dźwięk: Budzik.mp3",
    /// "za 0:04:12 — Komunikat: Spotkanie", "drzemka: …" for a snooze.
    QString menuLine(const QDateTime &now) const;
    /// The popup, when it is shown.
    AlarmPopup *shownPopup() const;

    // SetupHost
    ArmedAlarm &alarm() override { return m_alarm; }
    const ArmedAlarm &alarm() const { return m_alarm; }
    const ArmedAlarm &options() const override;
    void startTick() override;
    void stopTick() override;
    bool isArmed() const override { return m_armed; }
    std::vector<ArmedAlarm> armedAlarms() const override;
    void showOptions() override;
    void showAbout() override;
    void quit() override;
    bool trayAvailable() const override;
    SecondTicker &seconds() override;
    AlarmHost &actionWindows() override { return *this; }

    // AlarmHost
    void hideSetupWindow() override;
    void showAlarmPopup(bool beep) override;
    void playAlarmSound(const QString &file) override;
    void disarm() override;

private:
    MainController &m_program;
    ArmedAlarm m_alarm;
    AlarmTick m_tick;
    Executor m_executor;
    LazyForm<AlarmPopup> *m_popup = nullptr;
    SetupWindow *m_window = nullptr;
    bool m_armed = false;
    int m_number = 0;
    QDateTime m_armedAt;
    bool m_snooze = false;
    qint64 m_countdownDueMs = 0;
    int m_firing = 0; ///< the firings on the stack: a message box waits in one
    // Another window's own; the popup goes first, as it refers to the window.
    std::unique_ptr<SetupWindow> m_ownWindow;
    std::unique_ptr<LazyForm<AlarmPopup>> m_ownPopup;
};

} // namespace tockwell
