#pragma once

#include "LazyForm.h"
#include "TrayIcon.h"
#include "TrayWatcher.h"
#include "core/ArmedAlarm.h"
#include "engine/AlarmHost.h"
#include "engine/AlarmTick.h"
#include "engine/AlarmWake.h"
#include "settings/Seeding.h"
#include "ui/setup/SetupHost.h"

#include <QElapsedTimer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace tockwell {

class Clock;
class StoreFile;
class Executor;
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

/// The hidden main form: the tray icon with its menu, the armed alarm, the once-a-second tick
/// and the executor. It is what the setup window and the executor need of the program. Closing
/// it ends the program.
class MainController final : public QWidget, public SetupHost, public AlarmHost
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

    // SetupHost
    ArmedAlarm &alarm() override { return m_alarm; }
    void startTick() override;
    void stopTick() override;
    bool isArmed() const override { return m_tickTimer.isActive(); }
    void showOptions() override;
    void showAbout() override;
    void quit() override;
    bool trayAvailable() const override;
    AlarmHost &actionWindows() override { return *this; }
    /// Where the answer to "is there a tray?" comes from; the desktop's tray by default.
    void setTrayProbe(std::function<bool()> probe) { m_trayProbe = std::move(probe); }

    // AlarmHost
    void hideSetupWindow() override;
    void showAlarmPopup(bool beep) override;
    void playAlarmSound(const QString &file) override;
    void disarm() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void initialise();
    void seedStoreAndLoadOptions();
    void connectTray();
    void minimizeToTray();
    void trayChanged();
    void trayWaitEnded();
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    /// The once-a-second tick: fires the action when the alarm is due.
    void tick();
    /// Looks at a clock-time alarm at once when the machine goes to sleep or has woken.
    void lookAtClockAlarm();
    /// A notice in the tray's balloon, or a message box where the tray cannot show one.
    void showNotice(const QString &title, const QString &text);

    // The tray menu's items.
    void showSetupWindow();
    void openHelp();
    void openOptions();
    void openAbout();

    QString helpFile() const;

    platform::Platform &m_platform;
    StoreFile &m_storeFile;
    std::function<bool()> m_trayProbe = &QSystemTrayIcon::isSystemTrayAvailable;
    const SeedingPaths m_paths;
    ArmedAlarm m_alarm;
    AlarmTick m_tick;
    AlarmWake m_wake;
    std::unique_ptr<Executor> m_executor;
    Forms m_forms;
    QTimer m_tickTimer;
    TrayIcon m_tray;
    TrayWatcher m_trayWatcher;
    QTimer m_trayWait;
    QElapsedTimer m_lastTrayClick;
};

} // namespace tockwell
