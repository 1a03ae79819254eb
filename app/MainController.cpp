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

MainController::MainController(platform::Platform &platform, StoreFile &storeFile,
                               const Clock &clock, const SeedingPaths &paths, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_platform(platform), m_storeFile(storeFile),
      m_paths(paths), m_tick(clock),
      m_wake(platform.sleep(), platform.wakeAlarm(), clock, m_alarm,
             [this](const QString &title, const QString &text) { showNotice(title, text); }),
      m_executor(std::make_unique<Executor>(platform, *this, m_alarm)), m_tickTimer(this),
      m_tray(this), m_trayWatcher(this), m_trayWait(this)
{
    setObjectName(u"F_Glowna"_qs);
    setWindowTitle(u"F_Glowna"_qs);
    setGeometry(952, 345, 111, 38);
    // A coarse timer may drift by up to 5 % and skip a wall-clock second; the tick must not.
    m_tickTimer.setObjectName(u"t_TimerGlowny"_qs);
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    m_tickTimer.setInterval(1000);
    connect(&m_tickTimer, &QTimer::timeout, this, &MainController::tick);
    connectTray();
    m_trayWait.setSingleShot(true);
    m_trayWait.setInterval(TrayWatcher::startupWait());
    connect(&m_trayWait, &QTimer::timeout, this, &MainController::trayWaitEnded);
    connect(&m_trayWatcher, &TrayWatcher::trayChanged, this, &MainController::trayChanged);
    initialise();
    m_tray.show();
    m_wake.watch([this] { guarded(m_platform.dialogs(), [this] { lookAtClockAlarm(); }); });
}

MainController::~MainController() = default;

void MainController::setForms(const Forms &forms)
{
    m_forms = forms;
    m_forms.setup->installEventFilter(this);
    m_forms.options->whenCreated([this](OptionsDialog &options) {
        connectGuarded(m_platform.dialogs(), &options, &OptionsDialog::saved, this,
                       [this] { m_wake.optionsChanged(); });
    });
}

bool MainController::eventFilter(QObject *watched, QEvent *event)
{
    // Minimising the setup window hides it into the tray, where the tray icon brings it back.
    if (watched == m_forms.setup && event->type() == QEvent::WindowStateChange &&
        m_forms.setup->isMinimized() && trayAvailable())
        QMetaObject::invokeMethod(this, &MainController::minimizeToTray, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void MainController::minimizeToTray()
{
    guarded(m_platform.dialogs(), [this] {
        SetupWindow &setup = *m_forms.setup;
        if (!setup.isMinimized())
            return;
        // Leave the minimised state before hiding, so that the window comes back as it was.
        setup.setWindowState(setup.windowState() & ~Qt::WindowMinimized);
        setup.close();
    });
}

void MainController::initialise()
{
    m_tray.helpItem()->setVisible(QFileInfo::exists(helpFile()));
    seedStoreAndLoadOptions();
}

void MainController::seedStoreAndLoadOptions()
{
    // Before the setup window exists, so that it finds the seeded lists.
    guarded(m_platform.dialogs(), [this] { prepareStore(m_storeFile, m_paths, m_alarm); });
    if (const QString notice = m_storeFile.notice(); !notice.isEmpty())
        m_platform.dialogs().messageBox(notice, QString::fromUtf16(AppTitle),
                                        platform::mb::Ok | platform::mb::IconExclamation);
    // Told once: an alarm is still set when its settings cannot be kept.
    m_storeFile.acceptReadOnly();
}

void MainController::showAtStart()
{
    guarded(m_platform.dialogs(), [this] {
        centreOnScreen(*m_forms.setup);
        // At login the program may start before the panel that holds the tray.
        if (!trayAvailable())
            m_trayWait.start();
        // A start minimised to the tray shows nothing, unless it turns out that there is none.
        if (!m_alarm.AutoMinimize)
            showAndActivate(*m_forms.setup);
    });
}

void MainController::trayChanged()
{
    guarded(m_platform.dialogs(), [this] {
        if (!trayAvailable())
            return;
        m_trayWait.stop();
        // From now on minimising hides into the tray; a window minimised to the taskbar while
        // there was none goes there now.
        if (m_forms.setup->isMinimized())
            minimizeToTray();
    });
}

void MainController::trayWaitEnded()
{
    guarded(m_platform.dialogs(), [this] {
        if (trayAvailable())
            return;
        if (m_forms.setup->isHidden())
            showAndActivate(*m_forms.setup);
        m_platform.dialogs().messageBox(QString::fromUtf16(NoTrayText), u"INFORMACJA"_qs,
                                        platform::mb::Ok | platform::mb::IconInformation);
    });
}

void MainController::connectTray()
{
    connect(&m_tray, &QSystemTrayIcon::activated, this, &MainController::trayActivated);
    const auto bind = [this](QAction *item, void (MainController::*handler)()) {
        connectGuarded(m_platform.dialogs(), item, &QAction::triggered, this, handler);
    };
    bind(m_tray.setTimeItem(), &MainController::showSetupWindow);
    bind(m_tray.helpItem(), &MainController::openHelp);
    bind(m_tray.optionsItem(), &MainController::openOptions);
    bind(m_tray.aboutItem(), &MainController::openAbout);
    bind(m_tray.quitItem(), &MainController::quit);
}

void MainController::trayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        m_lastTrayClick.start();
        guarded(m_platform.dialogs(), [this] { toggleSetupWindow(); });
    } else if (reason == QSystemTrayIcon::DoubleClick) {
        // A double click also delivers the click that began it: one gesture toggles once.
        const bool begunByClick = m_lastTrayClick.isValid() &&
                                  m_lastTrayClick.elapsed() <= QApplication::doubleClickInterval();
        m_lastTrayClick.invalidate();
        if (!begunByClick)
            guarded(m_platform.dialogs(), [this] { toggleSetupWindow(); });
    }
}

void MainController::toggleSetupWindow()
{
    // The user is back: a keyboard or mouse that an alarm suspended comes back with the click.
    m_platform.input().resumeInput();
    // A minimised window is not in sight: the click brings it back.
    if (m_forms.setup->isVisible() && !m_forms.setup->isMinimized())
        m_forms.setup->close();
    else
        showAndActivate(*m_forms.setup);
    // A hidden popup has nothing to close; closing it would enable the setup window behind an
    // open dialog.
    if (AlarmPopup *popup = m_forms.popup->created(); popup && popup->isVisible())
        popup->close();
}

void MainController::showSetupWindow()
{
    showAndActivate(*m_forms.setup);
}

void MainController::openHelp()
{
    m_platform.shell().open(helpFile(), QString(), platform::ShowCommand::ShowMaximized);
}

void MainController::openOptions()
{
    m_forms.setup->setEnabled(false);
    showOptions();
}

void MainController::openAbout()
{
    m_forms.setup->setEnabled(false);
    showAbout();
}

void MainController::startTick()
{
    m_tick.reset();
    // A countdown ticks every second from Start; a clock-time alarm at each wall-clock second.
    m_tickTimer.start(m_tick.nextTick(m_alarm));
    m_wake.armed();
}

void MainController::stopTick()
{
    m_tickTimer.stop();
    m_wake.disarmed();
}

void MainController::showOptions()
{
    showAndActivate(m_forms.options->get());
}

void MainController::showAbout()
{
    showAndActivate(m_forms.about->get());
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
    m_forms.setup->close();
}

void MainController::showAlarmPopup(bool beep)
{
    m_forms.popup->get().showAlarm(beep);
}

void MainController::playAlarmSound(const QString &file)
{
    m_forms.setup->playAlarmSound(file);
}

void MainController::disarm()
{
    m_forms.setup->ib_StopClick();
}

void MainController::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_wake.disarmed();
    // At once: quit() would first ask every window to close, and a window may decline.
    QCoreApplication::exit(0);
}

void MainController::tick()
{
    guarded(m_platform.dialogs(), [this] {
        // A clock-time tick is aligned afresh to the wall-clock second, before the action: the
        // ticks go on while it waits, and a disarming action stops the timer for good.
        if (m_alarm.Mode == ModeClock && m_tickTimer.isActive())
            m_tickTimer.start(m_tick.nextTick(m_alarm));
        const bool due = m_tick.tick(m_alarm);
        const bool late = m_wake.ticked(m_tick.skipped());
        if (late)
            m_tick.firedAt(*m_tick.skipped());
        if (due || late)
            m_executor->fire();
    });
}

void MainController::lookAtClockAlarm()
{
    // The seconds up to a sleep, and those slept through, are looked at now rather than at the
    // next tick. A clock-time tick changes nothing in the alarm; a countdown is left to its
    // ticks.
    if (isArmed() && m_alarm.Mode == ModeClock)
        tick();
}

void MainController::showNotice(const QString &title, const QString &text)
{
    if (trayAvailable() && m_tray.canShowNotices())
        m_tray.showNotice(title, text, NoticeMs);
    else
        m_platform.dialogs().messageBox(text, title,
                                        platform::mb::Ok | platform::mb::IconInformation);
}

QString MainController::helpFile() const
{
    return help::pagePath(m_paths.programDir, help::ProgramPage);
}

} // namespace tockwell
