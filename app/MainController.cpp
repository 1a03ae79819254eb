#include "MainController.h"

#include "core/HelpPages.h"
#include "engine/ErrorBox.h"
#include "engine/Executor.h"
#include "engine/SystemOperations.h"
#include "platform/Platform.h"
#include "settings/Store.h"
#include "ui/dialogs/AboutWindow.h"
#include "ui/dialogs/OptionsDialog.h"
#include "ui/dialogs/WindowPlacement.h"
#include "ui/popup/AlarmPopup.h"
#include "ui/setup/SetupWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>

namespace tockwell {
namespace {

constexpr auto NoTrayText =
    u"Na tym pulpicie nie ma zasobnika systemowego (traya), więc Tockwell nie może pokazać w nim "
    u"swojej ikony. Zamiast do traya okno programu będzie minimalizowane na pasek zadań.";

// How long a notice stays in the tray's balloon.
constexpr int NoticeMs = 30000;

void showAndActivate(QWidget &window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

template <typename Handler> void MainController::guard(Handler &&handler)
{
    guarded(m_platform.dialogs(), std::forward<Handler>(handler));
}

MainController::MainController(platform::Platform &platform, StoreFile &storeFile,
                               const Clock &clock, const SeedingPaths &paths, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_platform(platform), m_storeFile(storeFile),
      m_paths(paths), m_tick(clock),
      m_wake(platform.sleep(), platform.wakeAlarm(), clock, m_alarm,
             [this](const QString &title, const QString &text) { showNotice(title, text); }),
      m_executor(std::make_unique<Executor>(platform, *this, m_alarm)), t_TimerGlowny(this),
      Tray(this), m_trayWatcher(this), m_trayWait(this)
{
    setObjectName(u"F_Glowna"_qs);
    setWindowTitle(u"F_Glowna"_qs);
    setGeometry(952, 345, 111, 38);
    // A coarse timer may drift by up to 5 % and skip a wall-clock second; the tick must not.
    t_TimerGlowny.setObjectName(u"t_TimerGlowny"_qs);
    t_TimerGlowny.setTimerType(Qt::PreciseTimer);
    t_TimerGlowny.setInterval(1000);
    connect(&t_TimerGlowny, &QTimer::timeout, this, &MainController::t_TimerGlownyTimer);
    connectTray();
    m_trayWait.setSingleShot(true);
    m_trayWait.setInterval(TrayWatcher::startupWait());
    connect(&m_trayWait, &QTimer::timeout, this, &MainController::trayWaitEnded);
    connect(&m_trayWatcher, &TrayWatcher::trayChanged, this, &MainController::trayChanged);
    FormCreate();
    Tray.show();
    m_wake.watch([this] { guard([this] { lookAtClockAlarm(); }); });
}

MainController::~MainController() = default;

void MainController::setForms(const Forms &forms)
{
    m_forms = forms;
    m_forms.F_Alarm->installEventFilter(this);
    connect(m_forms.F_Opcje, &OptionsDialog::saved, this,
            [this] { guard([this] { m_wake.optionsChanged(); }); });
}

bool MainController::eventFilter(QObject *watched, QEvent *event)
{
    // Minimising the setup window hides it into the tray, where the tray icon brings it back.
    if (watched == m_forms.F_Alarm && event->type() == QEvent::WindowStateChange &&
        m_forms.F_Alarm->isMinimized() && trayAvailable())
        QMetaObject::invokeMethod(this, &MainController::minimizeToTray, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void MainController::minimizeToTray()
{
    guard([this] {
        SetupWindow &setup = *m_forms.F_Alarm;
        if (!setup.isMinimized())
            return;
        // Leave the minimised state before hiding, so that the window comes back as it was.
        setup.setWindowState(setup.windowState() & ~Qt::WindowMinimized);
        setup.close();
    });
}

void MainController::FormCreate()
{
    Tray.Pomoc1->setVisible(QFileInfo::exists(helpFile()));
    seedStoreAndLoadOptions();
}

void MainController::seedStoreAndLoadOptions()
{
    // Before the setup window exists, so that it finds the seeded lists.
    guard([this] { prepareStore(m_storeFile, m_paths, m_alarm); });
    if (const QString notice = m_storeFile.notice(); !notice.isEmpty())
        m_platform.dialogs().messageBox(notice, QString::fromUtf16(AppTitle),
                                        platform::mb::Ok | platform::mb::IconExclamation);
    // Told once: an alarm is still set when its settings cannot be kept.
    m_storeFile.acceptReadOnly();
}

void MainController::FormPaint()
{
    guard([this] {
        centreOnScreen(*m_forms.F_Alarm);
        // At login the program may start before the panel that holds the tray.
        if (!trayAvailable())
            m_trayWait.start();
        // A start minimised to the tray shows nothing, unless it turns out that there is none.
        if (!m_alarm.AutoMinimize)
            showAndActivate(*m_forms.F_Alarm);
    });
}

void MainController::trayChanged()
{
    guard([this] {
        if (!trayAvailable())
            return;
        m_trayWait.stop();
        // From now on minimising hides into the tray; a window minimised to the taskbar while
        // there was none goes there now.
        if (m_forms.F_Alarm->isMinimized())
            minimizeToTray();
    });
}

void MainController::trayWaitEnded()
{
    guard([this] {
        if (trayAvailable())
            return;
        if (m_forms.F_Alarm->isHidden())
            showAndActivate(*m_forms.F_Alarm);
        m_platform.dialogs().messageBox(QString::fromUtf16(NoTrayText), u"INFORMACJA"_qs,
                                        platform::mb::Ok | platform::mb::IconInformation);
    });
}

void MainController::connectTray()
{
    connect(&Tray, &QSystemTrayIcon::activated, this, &MainController::TrayActivated);
    const auto bind = [this](QAction *item, void (MainController::*handler)()) {
        connect(item, &QAction::triggered, this,
                [this, handler] { guard([&] { (this->*handler)(); }); });
    };
    bind(Tray.Ustawnowyczas1, &MainController::Ustawnowyczas1Click);
    bind(Tray.Pomoc1, &MainController::Pomoc1Click);
    bind(Tray.Opcje1, &MainController::Opcje1Click);
    bind(Tray.Oprogramie1, &MainController::Oprogramie1Click);
    bind(Tray.Zamknij1, &MainController::Zamknij1Click);
}

void MainController::TrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        m_lastTrayClick.start();
        guard([this] { TrayClick(); });
    } else if (reason == QSystemTrayIcon::DoubleClick) {
        // A double click also delivers the click that began it: one gesture toggles once.
        const bool begunByClick = m_lastTrayClick.isValid() &&
                                  m_lastTrayClick.elapsed() <= QApplication::doubleClickInterval();
        m_lastTrayClick.invalidate();
        if (!begunByClick)
            guard([this] { TrayClick(); });
    }
}

void MainController::TrayClick()
{
    // The user is back: a keyboard or mouse that an alarm suspended comes back with the click.
    m_platform.input().resumeInput();
    // A minimised window is not in sight: the click brings it back.
    if (m_forms.F_Alarm->isVisible() && !m_forms.F_Alarm->isMinimized())
        m_forms.F_Alarm->close();
    else
        showAndActivate(*m_forms.F_Alarm);
    // A hidden popup has nothing to close; closing it would enable the setup window behind an
    // open dialog.
    if (m_forms.F_ALARMUJ->isVisible())
        m_forms.F_ALARMUJ->close();
}

void MainController::Ustawnowyczas1Click()
{
    showAndActivate(*m_forms.F_Alarm);
}

void MainController::Pomoc1Click()
{
    m_platform.shell().open(helpFile(), QString(), platform::ShowCommand::ShowMaximized);
}

void MainController::Opcje1Click()
{
    m_forms.F_Alarm->setEnabled(false);
    showOptions();
}

void MainController::Oprogramie1Click()
{
    m_forms.F_Alarm->setEnabled(false);
    showAbout();
}

void MainController::Zamknij1Click()
{
    close();
}

void MainController::startTick()
{
    m_tick.reset();
    // A countdown ticks every second from Start; a clock-time alarm at each wall-clock second.
    t_TimerGlowny.start(m_tick.nextTick(m_alarm));
    m_wake.armed();
}

void MainController::stopTick()
{
    t_TimerGlowny.stop();
    m_wake.disarmed();
}

void MainController::showOptions()
{
    showAndActivate(*m_forms.F_Opcje);
}

void MainController::showAbout()
{
    showAndActivate(*m_forms.F_About);
}

void MainController::quit()
{
    close();
}

bool MainController::trayAvailable() const
{
    return m_trayProbe();
}

void MainController::hideSetupWindow()
{
    m_forms.F_Alarm->close();
}

void MainController::showAlarmPopup(bool beep)
{
    m_forms.F_ALARMUJ->showAlarm(beep);
}

void MainController::playAlarmSound(const QString &file)
{
    m_forms.F_Alarm->playAlarmSound(file);
}

void MainController::disarm()
{
    m_forms.F_Alarm->ib_StopClick();
}

void MainController::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_wake.disarmed();
    // At once: quit() would first ask every window to close, and a window may decline.
    QCoreApplication::exit(0);
}

void MainController::t_TimerGlownyTimer()
{
    guard([this] {
        // A clock-time tick is aligned afresh to the wall-clock second, before the action: the
        // ticks go on while it waits, and a disarming action stops the timer for good.
        if (m_alarm.Mode == ModeClock && t_TimerGlowny.isActive())
            t_TimerGlowny.start(m_tick.nextTick(m_alarm));
        const bool due = m_tick.tick(m_alarm);
        m_wake.ticked(m_tick.skipped());
        if (due)
            m_executor->WykonajAkcje();
    });
}

void MainController::lookAtClockAlarm()
{
    // The seconds up to a sleep, and those slept through, are looked at now rather than at the
    // next tick. A clock-time tick changes nothing in the alarm; a countdown is left to its
    // ticks.
    if (isArmed() && m_alarm.Mode == ModeClock)
        t_TimerGlownyTimer();
}

void MainController::showNotice(const QString &title, const QString &text)
{
    if (trayAvailable() && QSystemTrayIcon::supportsMessages())
        Tray.showMessage(title, text, QSystemTrayIcon::Information, NoticeMs);
    else
        m_platform.dialogs().messageBox(text, title,
                                        platform::mb::Ok | platform::mb::IconInformation);
}

QString MainController::helpFile() const
{
    return help::pagePath(m_paths.programDir, help::ProgramPage);
}

} // namespace tockwell
