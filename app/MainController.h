#pragma once

#include "AlarmRoster.h"
#include "LazyForm.h"
#include "TrayIcon.h"
#include "TrayWatcher.h"
#include "core/ArmedAlarm.h"
#include "engine/SecondTicker.h"
#include "settings/Seeding.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace tockwell {

class AlarmSlot;
class Clock;
class StoreFile;
class AboutWindow;
class SetupWindow;
class AlarmPopup;
class OptionsDialog;
namespace platform {
class Platform;
}

/// The program's other forms, as the main form reaches them; all but the setup window are
/// created when first shown.
struct Forms
{
    SetupWindow *setup = nullptr;
    LazyForm<AboutWindow> *about = nullptr;
    LazyForm<OptionsDialog> *options = nullptr;
    LazyForm<AlarmPopup> *popup = nullptr;
};

/// The hidden main form: the tray icon with its menu, the program's options and its alarms
/// (AlarmRoster), one per setup window, the first window's made at start. Closing it ends the
/// program.
class MainController final : public QWidget
{
    Q_OBJECT

public:
    /// `paths` name the program file and its folder, where the help pages lie, and the places
    /// that first-run seeding of `storeFile` looks at.
    MainController(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                   const SeedingPaths &paths, QWidget *parent = nullptr);
    ~MainController() override;

    /// The other forms, once they all exist.
    void setForms(const Forms &forms);

    /// What the main form's first paint did: shows the setup window, disarmed, in the middle of
    /// the screen, or, with the option `AutoMinimize` and a tray, leaves it hidden in the tray.
    /// The main form itself is never shown. A tray that is not there yet is waited for (see
    /// setTrayWait); when none came, the setup window is shown and the user is told so once.
    void showAtStart();

    /// How long start-up waits for a tray that is not there yet.
    void setTrayWait(std::chrono::milliseconds wait) { m_trayWait.setInterval(wait); }
    /// Whether start-up is still waiting for a tray.
    bool waitingForTray() const { return m_trayWait.isActive(); }

    /// Toggles the setup window and closes the alarm popup.
    void toggleSetupWindow();

    /// The program's option flags, which every alarm fires with.
    ArmedAlarm &options() { return m_options; }
    /// Every alarm and the tick.
    AlarmRoster &roster() { return m_roster; }
    /// The first window's alarm.
    AlarmSlot &firstAlarm() { return m_roster.first(); }
    /// What happens at each wall-clock second: the clock-time alarms' tick, the windows' clocks.
    SecondTicker &seconds() { return m_seconds; }

    /// What the windows ask of the program.
    /// The options dialog or the About window, for the setup window `opener`, which has
    /// disabled itself and is enabled again when the dialog closes.
    void showOptions(QWidget *opener);
    void showAbout(QWidget *opener);
    void quit();
    bool trayAvailable() const;
    /// Where the answer to "is there a tray?" comes from; the desktop's tray by default.
    void setTrayProbe(std::function<bool()> probe) { m_trayProbe = std::move(probe); }

    /// "Drzemka": ends what `slot`'s firing shows or plays and arms the same action again in
    /// `minutes`, as a countdown of its own window.
    void snooze(AlarmSlot &slot, int minutes);
    /// The snooze that the tray offers for a while after an alarm fired.
    static constexpr int SnoozeOfferMs = 10 * 60 * 1000;

private slots:
    /// Another program changed the store's alarms.
    void storeChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void initialise();
    void seedStoreAndLoadOptions();
    void connectTray();
    /// Listens for another program's changes to the store's alarms (tockwell-reg).
    void watchStoreChanges();
    void minimizeToTray(SetupWindow *setup);
    void trayChanged();
    void trayWaitEnded();
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    /// An alarm is about to fire: the tray offers its snooze when it shows or plays something.
    void offerSnooze(AlarmSlot &slot);
    /// Arms `alarm` again as a countdown of `minutes` in a window of its own, after silencing
    /// `fired` (when it still exists).
    void snoozeAlarm(ArmedAlarm alarm, AlarmSlot *fired, int minutes);
    /// "Nowy alarm" or a snooze beyond the most alarms at once.
    void tellTooManyAlarms();
    /// The tray's menu of armed alarms and its tooltip, after a change.
    void showAlarmsInTray();
    void fillAlarmsMenu();
    /// A notice in the tray's balloon, or a message box where the tray cannot show one.
    void showNotice(const QString &title, const QString &text);

    // The tray menu's items.
    void showSetupWindow();
    void openNewAlarm();
    void openHelp();
    void openOptions();
    void openAbout();

    QString helpFile() const;

    platform::Platform &m_platform;
    StoreFile &m_storeFile;
    std::function<bool()> m_trayProbe = &QSystemTrayIcon::isSystemTrayAvailable;
    const SeedingPaths m_paths;
    ArmedAlarm m_options;
    Forms m_forms;
    TrayIcon m_tray;
    SecondTicker m_seconds;
    AlarmRoster m_roster;
    /// The alarm whose snooze the tray offers, as it fired; none when it offers none.
    std::optional<ArmedAlarm> m_snoozeAlarm;
    QPointer<AlarmSlot> m_snoozeSlot;
    QTimer m_snoozeOffer;
    /// The setup window that opened the options dialog or the About window.
    QPointer<QWidget> m_dialogOpener;
    TrayWatcher m_trayWatcher;
    QTimer m_trayWait;
    QElapsedTimer m_lastTrayClick;
};

} // namespace tockwell
