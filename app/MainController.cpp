#include "MainController.h"

#include "AlarmSlot.h"
#include "core/HelpPages.h"
#include "engine/ErrorBox.h"
#include "engine/SystemOperations.h"
#include "platform/Platform.h"
#include "settings/Store.h"
#include "settings/StoreChangedSignal.h"
#include "ui/dialogs/AboutWindow.h"
#include "ui/dialogs/OptionsDialog.h"
#include "ui/dialogs/WindowPlacement.h"
#include "ui/popup/AlarmPopup.h"
#include "ui/setup/SetupWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>

namespace tockwell {
namespace {

constexpr auto NoTrayText =
    u"Na tym pulpicie nie ma zasobnika systemowego (traya), więc Tockwell nie może pokazać w nim "
    u"swojej ikony. Zamiast do traya okno programu będzie minimalizowane na pasek zadań.";

// How long a notice stays in the tray's balloon.
constexpr int NoticeMs = 30000;

constexpr auto TooManyText = u"Można ustawić najwyżej %1 alarmy naraz. Zatrzymaj któryś z "
                             u"ustawionych alarmów, aby ustawić nowy.";
constexpr auto TrayTitle = u"Kestrolab Tockwell";

/// The seconds of a snooze's minute: 60, or TOCKWELL_SNOOZE_MINUTE_S for tests.
int snoozeMinuteSeconds()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("TOCKWELL_SNOOZE_MINUTE_S", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : 60;
}

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
      m_paths(paths), m_tray(this), m_seconds(clock, this),
      m_roster(
          platform, storeFile, clock, m_seconds, m_options,
          [this](const QString &title, const QString &text) { showNotice(title, text); }, this),
      m_snoozeOffer(this), m_trayWatcher(this), m_trayWait(this)
{
    setObjectName(u"F_Glowna"_qs);
    setWindowTitle(u"F_Glowna"_qs);
    setGeometry(952, 345, 111, 38);
    m_roster.setFirst(
        std::make_unique<AlarmSlot>(*this, platform, clock), [this, &platform, &storeFile, &clock] {
            auto slot =
                std::make_unique<AlarmSlot>(*this, platform, storeFile, clock, m_paths.programDir);
            slot->window().installEventFilter(this);
            return slot;
        });
    connect(&m_roster, &AlarmRoster::changed, this, &MainController::showAlarmsInTray);
    connect(&m_roster, &AlarmRoster::firing, this, &MainController::offerSnooze);
    m_snoozeOffer.setSingleShot(true);
    m_snoozeOffer.setInterval(SnoozeOfferMs);
    connect(&m_snoozeOffer, &QTimer::timeout, this, [this] {
        m_snoozeAlarm.reset();
        m_tray.snoozeMenu().menuAction()->setVisible(false);
    });
    connectTray();
    m_trayWait.setSingleShot(true);
    m_trayWait.setInterval(TrayWatcher::startupWait());
    connect(&m_trayWait, &QTimer::timeout, this, &MainController::trayWaitEnded);
    connect(&m_trayWatcher, &TrayWatcher::trayChanged, this, &MainController::trayChanged);
    initialise();
    m_tray.show();
    m_roster.wake().watch(
        [this] { guarded(m_platform.dialogs(), [this] { m_roster.lookAtClockAlarms(); }); });
    watchStoreChanges();
}

MainController::~MainController() = default;

void MainController::setForms(const Forms &forms)
{
    m_forms = forms;
    firstAlarm().setWindow(*m_forms.setup, *m_forms.popup);
    m_forms.setup->installEventFilter(this);
    m_forms.options->whenCreated([this](OptionsDialog &options) {
        connectGuarded(m_platform.dialogs(), &options, &OptionsDialog::saved, this,
                       [this] { m_roster.optionsChanged(); });
        options.installEventFilter(this);
    });
    m_forms.about->whenCreated([this](AboutWindow &about) { about.installEventFilter(this); });
}

bool MainController::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *setup = qobject_cast<SetupWindow *>(watched)) {
        // Minimising a setup window hides it into the tray, where the tray icon brings it back.
        if (event->type() == QEvent::WindowStateChange && setup->isMinimized() && trayAvailable())
            QMetaObject::invokeMethod(
                this, [this, setup = QPointer<SetupWindow>(setup)] { minimizeToTray(setup); },
                Qt::QueuedConnection);
        // Another window than the first goes when it is hidden and holds no armed alarm.
        if (event->type() == QEvent::Hide)
            if (AlarmSlot *slot = m_roster.slotOf(*setup))
                m_roster.dropIfUnused(*slot);
    } else if (event->type() == QEvent::Hide && m_dialogOpener && m_dialogOpener != m_forms.setup) {
        // The options dialog and the About window give the first window back themselves.
        m_dialogOpener->setEnabled(true);
    }
    return QWidget::eventFilter(watched, event);
}

void MainController::minimizeToTray(SetupWindow *setup)
{
    guarded(m_platform.dialogs(), [setup] {
        if (!setup || !setup->isMinimized())
            return;
        // Leave the minimised state before hiding, so that the window comes back as it was.
        setup->setWindowState(setup->windowState() & ~Qt::WindowMinimized);
        setup->close();
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
    guarded(m_platform.dialogs(), [this] { prepareStore(m_storeFile, m_paths, m_options); });
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
        // The alarms armed at the last end come back before the first window shows, so that it
        // shows the first of them.
        m_roster.restoreAtStart();
        // A start minimised to the tray shows nothing, unless it turns out that there is none.
        if (!m_options.AutoMinimize)
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
            minimizeToTray(m_forms.setup);
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
    bind(m_tray.newAlarmItem(), &MainController::openNewAlarm);
    connect(&m_tray.alarmsMenu(), &QMenu::aboutToShow, this, &MainController::fillAlarmsMenu);
    connect(&m_tray.snoozeMenu(), &QMenu::triggered, this, [this](const QAction *item) {
        guarded(m_platform.dialogs(), [this, minutes = item->data().toInt()] {
            if (m_snoozeAlarm)
                snoozeAlarm(*m_snoozeAlarm, m_snoozeSlot, minutes);
        });
    });
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
    // The other windows' alarms are acknowledged too: their popups close and their sounds stop,
    // which their hidden windows offer no other way to stop.
    m_roster.silenceHidden();
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
    showOptions(m_forms.setup);
}

void MainController::openAbout()
{
    m_forms.setup->setEnabled(false);
    showAbout(m_forms.setup);
}

void MainController::showOptions(QWidget *opener)
{
    m_dialogOpener = opener;
    showAndActivate(m_forms.options->get());
}

void MainController::showAbout(QWidget *opener)
{
    m_dialogOpener = opener;
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

void MainController::closeEvent(QCloseEvent *event)
{
    event->accept();
    // The armed alarms stay in the store and come back at the next start; no wake time of this
    // run's stays set.
    m_roster.wake().disarmed();
    // At once: quit() would first ask every window to close, and a window may decline.
    QCoreApplication::exit(0);
}

void MainController::watchStoreChanges()
{
    QDBusConnection::sessionBus().connect(
        QString(), storechanged::Path.toString(), storechanged::Interface.toString(),
        storechanged::Member.toString(), this, SLOT(storeChanged()));
}

void MainController::storeChanged()
{
    guarded(m_platform.dialogs(), [this] { m_roster.reload(); });
}

void MainController::openNewAlarm()
{
    AlarmSlot *slot = m_roster.newSlot();
    if (!slot) {
        tellTooManyAlarms();
        return;
    }
    // A little below and to the right of the window before, so that none hides another.
    const int before = int(m_roster.slotCount()) - 2;
    slot->window().move(m_forms.setup->pos() + QPoint(24, 24) * (before % 8 + 1));
    showAndActivate(slot->window());
}

void MainController::tellTooManyAlarms()
{
    m_platform.dialogs().messageBox(QString::fromUtf16(TooManyText).arg(AlarmRoster::MaxSlots),
                                    QString::fromUtf16(AppTitle),
                                    platform::mb::Ok | platform::mb::IconExclamation);
}

void MainController::showAlarmsInTray()
{
    const std::vector<AlarmSlot *> armed = m_roster.bySoonest();
    m_tray.alarmsMenu().menuAction()->setVisible(!armed.empty());
    QString tip = QString::fromUtf16(TrayTitle);
    if (!armed.empty()) {
        const AlarmSlot &next = *armed.front();
        const QDateTime now = m_roster.now();
        tip += u"\nNastępny alarm: %1 o %2"_qs.arg(
            alarmSummary(next.alarm()),
            now.addSecs(next.secondsUntilDue(now)).time().toString(u"HH:mm:ss"_qs));
    }
    m_tray.setToolTip(tip);
    // Filled now too, not only when it opens: a StatusNotifier host may show a menu it was sent.
    fillAlarmsMenu();
}

void MainController::fillAlarmsMenu()
{
    QMenu &menu = m_tray.alarmsMenu();
    menu.clear();
    const QDateTime now = m_roster.now();
    for (AlarmSlot *slot : m_roster.bySoonest()) {
        QAction *line = menu.addAction(slot->menuLine(now));
        connectGuarded(m_platform.dialogs(), line, &QAction::triggered, this,
                       [this, which = QPointer<AlarmSlot>(slot)] {
                           if (which)
                               showAndActivate(which->window());
                       });
    }
}

void MainController::offerSnooze(AlarmSlot &slot)
{
    const QString &kind = slot.alarm().ActionKind;
    if (kind != kinds::DefaultWindow && kind != kinds::Message && kind != kinds::PlaySound)
        return;
    m_snoozeAlarm = slot.alarm();
    m_snoozeSlot = &slot;
    m_tray.snoozeMenu().menuAction()->setVisible(true);
    m_snoozeOffer.start();
}

void MainController::snooze(AlarmSlot &slot, int minutes)
{
    guarded(m_platform.dialogs(), [&] { snoozeAlarm(slot.alarm(), &slot, minutes); });
}

void MainController::snoozeAlarm(ArmedAlarm alarm, AlarmSlot *fired, int minutes)
{
    if (fired)
        fired->silence();
    m_snoozeOffer.stop();
    m_snoozeAlarm.reset();
    m_tray.snoozeMenu().menuAction()->setVisible(false);
    AlarmSlot *slot = m_roster.newSlot();
    if (!slot) {
        tellTooManyAlarms();
        return;
    }
    alarm.Mode = ModeCountdown.toString();
    alarm.Hour = 0;
    alarm.Minute = minutes;
    alarm.Second = 0;
    alarm.CountdownLeft = minutes * snoozeMinuteSeconds();
    alarm.RepeatSeconds = 0;
    slot->rearm(alarm, 0, QDateTime(), true);
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
