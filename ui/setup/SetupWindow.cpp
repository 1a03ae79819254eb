#include "SetupWindow.h"

#include "AlarmDraft.h"
#include "OtherActionTexts.h"
#include "SetupControls.h"
#include "SetupHost.h"
#include "TimingGroup.h"
#include "WideListComboBox.h"
#include "core/ArmedAlarm.h"
#include "core/Error.h"
#include "core/HelpPages.h"
#include "engine/Actions.h"
#include "engine/ErrorBox.h"
#include "panels/MessagePanel.h"
#include "panels/OtherActionsPanel.h"
#include "panels/PathPanel.h"
#include "panels/ShutdownPanel.h"
#include "panels/SoundPanel.h"
#include "platform/Platform.h"
#include "settings/LastSettings.h"
#include "settings/Store.h"
#include "ui/skin/CaptionFont.h"
#include "ui/skin/ImageButton.h"
#include "ui/skin/SkinAssets.h"
#include "ui/skin/SkinWidget.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

namespace tockwell {

using namespace controls;

namespace {

const QString MakerPage = u"https://www.kestrolab.pl/tockwell"_qs;
const QString MakerMail =
    u"mailto:tockwell@kestrolab.pl?subject=Tockwell%201.5&body=Dzie%C5%84%20dobry%2C"_qs;

/// A command button; its hint is also its name for a screen reader (`name` where it has none).
ImageButton *commandButton(QWidget *parent, const char *name, int left, const QString &hint,
                           const QString &accessibleName = QString())
{
    auto *button = make<ImageButton>(parent, name, QRect(left, 6, 31, 31));
    loadButtonBitmaps(*button, QLatin1String(name));
    button->setToolTip(hint);
    button->setAccessibleName(hint.isEmpty() ? accessibleName : hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

/// The question before the program ends with `armed` alarms: the clock-time ones come back at
/// the next start, the countdowns are lost.
QString quitQuestion(const std::vector<ArmedAlarm> &armed)
{
    QString counting = u"Program w tej chwili odlicza czas ustawiony przez użytkownika"_qs;
    if (armed.size() > 1)
        counting += u" (ustawione alarmy: %1)"_qs.arg(armed.size());
    QStringList countdowns;
    for (const ArmedAlarm &alarm : armed)
        if (alarm.Mode == ModeCountdown)
            countdowns << u"„%1”"_qs.arg(alarmSummary(alarm));
    const bool clockTimes = countdowns.size() < qsizetype(armed.size());
    QString comeBack;
    if (clockTimes && countdowns.isEmpty())
        comeBack = u" Alarmy ustawione na godzinę wrócą przy następnym uruchomieniu programu."_qs;
    else if (clockTimes)
        comeBack = u" Alarmy ustawione na godzinę wrócą przy następnym uruchomieniu programu, "
                   u"odliczania przepadną: %1."_qs.arg(countdowns.join(u", "_qs));
    else
        comeBack = u" Odliczania przepadną: %1."_qs.arg(countdowns.join(u", "_qs));
    return counting +
           u". Zamykając program spowodujesz przerwanie odliczania a nadejście ustawionego czasu "
           u"nie zostanie zaalarmowane."_qs +
           comeBack + u"\r\rCzy mam mimo to zamknąć program ???"_qs;
}

} // namespace

SetupWindow::SetupWindow(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                         SetupHost &host, const QString &programDir, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_platform(platform), m_storeFile(storeFile),
      m_host(host), m_programDir(programDir)
{
    setObjectName(u"F_Alarm"_qs);
    setWindowTitle(u"Tockwell"_qs);
    setFixedSize(474, 245);
    setAttribute(Qt::WA_AlwaysShowToolTips); // the hints show also while another window is active

    // Made in the order of the tab key.
    createSkin();
    createCommandButtons();
    m_timing = new TimingGroup(clock, m_host.seconds(), m_storeFile, m_platform.dialogs(), this);
    createActionGroup();
    fitCaptions();
    connectHandlers();
    guarded(m_platform.dialogs(), [this] { initialise(); });
}

SetupWindow::~SetupWindow() = default;

void SetupWindow::createSkin()
{
    cacheStylePictures();
    m_skin = new SkinWidget(this);
    m_skin->setObjectName(u"PlasmaForm1"_qs);
    m_skin->setPicture(setupSkinPicture());
    m_skin->setMaskRegion(setupSkinMask());
}

void SetupWindow::createCommandButtons()
{
    m_startButton = commandButton(this, "ib_Start", 8, u"Rozpocznij odliczanie czasu"_qs);
    m_stopButton = commandButton(this, "ib_Stop", 8, u"Zatrzymaj odliczanie"_qs);
    m_stopButton->move(-40, -40);
    m_minimizeButton = commandButton(this, "ib_Minimalizuj", 43, u"Minimalizuj do traya"_qs);
    m_optionsButton = commandButton(this, "ib_Opcje", 78, u"Opcje programu"_qs);
    m_aboutButton = commandButton(this, "ib_About", 113, u"Wyświetl informacje o programie"_qs);
    m_webPageButton =
        commandButton(this, "ib_WWW", 365, QString(), u"Strona WWW autora programu"_qs);
    m_mailButton =
        commandButton(this, "ib_Mail", 400, QString(), u"Napisz list do autora programu"_qs);
    m_quitButton = commandButton(this, "ib_Koniec", 435, u"Zakończ działanie programu"_qs);
}

void SetupWindow::createActionGroup()
{
    m_actionGroup = make<QGroupBox>(this, "gb2", QRect(228, 42, 238, 196));
    m_actionGroup->setTitle(u" Zaalarmuj mnie w następujący sposób: "_qs);
    m_kindBox = combo(m_actionGroup, "cb_Typ_Alarmu", QRect(8, 20, 222, 22), false);
    m_kindBox->addItems(listed(kinds::All));
    m_kindBox->setCurrentIndex(-1);
    m_kindBox->setAccessibleName(u"Rodzaj alarmu"_qs);
    setBalloonHint(m_kindBox, false, u"INFORMACJA"_qs,
                   u"Wybierz z poniższej listy rodzaj alarmu"_qs);
    createPanels();
    m_previewButton =
        make<QPushButton>(m_actionGroup, "cb_Podglad", QRect(150, 166, 80, 24), u"Podgląd"_qs);
    m_previewButton->setFlat(true);
    m_otherPanel->createHelpLink(m_actionGroup);
}

void SetupWindow::createPanels()
{
    // Made in the order of the tab key, which is not the kind list's.
    platform::Dialogs &dialogs = m_platform.dialogs();
    auto *message = new MessagePanel(m_storeFile, dialogs, m_actionGroup);
    m_soundPanel = new SoundPanel(m_platform, m_storeFile, m_actionGroup);
    auto *shutdown = new ShutdownPanel(dialogs, m_actionGroup);
    const auto pathPanel = [&](PathPanel::Target target) {
        return new PathPanel(target, m_storeFile, dialogs, m_actionGroup);
    };
    auto *program = pathPanel(PathPanel::Target::Program);
    auto *file = pathPanel(PathPanel::Target::File);
    auto *folder = pathPanel(PathPanel::Target::Folder);
    auto *webPage = pathPanel(PathPanel::Target::WebPage);
    m_otherPanel = new OtherActionsPanel(m_platform, m_storeFile, m_host, m_actionGroup);
    m_panels = {{kinds::Message, message},    {kinds::PlaySound, m_soundPanel},
                {kinds::OpenFolder, folder},  {kinds::OpenFile, file},
                {kinds::RunProgram, program}, {kinds::OpenWebPage, webPage},
                {kinds::Shutdown, shutdown},  {kinds::Other, m_otherPanel}};
}

void SetupWindow::connectHandlers()
{
    platform::Dialogs &dialogs = m_platform.dialogs();
    const auto on = [this, &dialogs](ImageButton *button, void (SetupWindow::*handler)()) {
        connectGuarded(dialogs, button, &ImageButton::clicked, this, handler);
    };
    on(m_startButton, &SetupWindow::ib_StartClick);
    on(m_stopButton, &SetupWindow::stopByUser);
    connectGuarded(dialogs, m_minimizeButton, &ImageButton::clicked, this, [this] { close(); });
    on(m_quitButton, &SetupWindow::quit);
    on(m_optionsButton, &SetupWindow::showOptions);
    on(m_aboutButton, &SetupWindow::showAbout);
    on(m_webPageButton, &SetupWindow::openMakerPage);
    on(m_mailButton, &SetupWindow::writeToMaker);
    connectGuarded(dialogs, m_kindBox, &QComboBox::currentIndexChanged, this,
                   &SetupWindow::showChosenKind);
    // The panels' checks run on their every change, and when their kind is shown.
    for (const auto &[kind, panel] : m_panels)
        connect(panel, &ActionPanel::readinessChanged, this, &SetupWindow::showReadiness);
    connect(m_otherPanel, &OtherActionsPanel::helpRequested, this, &SetupWindow::openHelp);
    connect(m_soundPanel, &SoundPanel::soundEnded, this, &SetupWindow::soundEnded);
    connectGuarded(dialogs, m_previewButton, &QPushButton::clicked, this, &SetupWindow::preview);
    m_previewInputBack = new QTimer(this);
    m_previewInputBack->setObjectName(u"previewInputBack"_qs);
    m_previewInputBack->setSingleShot(true);
    m_previewInputBack->setInterval(PreviewInputSuspensionMs);
    connect(m_previewInputBack, &QTimer::timeout, this,
            [this] { m_platform.input().resumeInput(); });
}

void SetupWindow::fitCaptions()
{
    fitCaptionFont(*this, captionsOf(*this));
    // Fields that sit in the blanks of a caption follow the words of the chosen font.
    m_timing->fitCaptions();
    for (const auto &[kind, panel] : m_panels)
        panel->fitCaptions();
}

void SetupWindow::initialise()
{
    const LastSettings last = readLastSettings(m_storeFile);
    {
        const QSignalBlocker blocker(m_kindBox); // the kind switching runs once, below
        m_kindBox->setCurrentIndex(last.lastKind ? m_kindBox->findText(*last.lastKind) : -1);
    }
    for (const auto &[kind, panel] : m_panels)
        panel->restore(last);
    m_timing->restore(last);
    // The sound check runs once: in the kind switching when the sound kind is restored. A check
    // that fails is reported and creation goes on.
    if (m_kindBox->currentText() != kinds::PlaySound)
        guarded(m_platform.dialogs(), [this] { m_soundPanel->check(); });
    showChosenKind();
    m_timing->chooseMode(last.countdown);
}

void SetupWindow::showEvent(QShowEvent *event)
{
    // The caption's clock rests while the window is hidden and is current the instant it shows.
    m_timing->startClock();
    QWidget::showEvent(event);
}

void SetupWindow::hideEvent(QHideEvent *event)
{
    m_timing->stopClock();
    QWidget::hideEvent(event);
}

void SetupWindow::changeEvent(QEvent *event)
{
    // A window minimised to the taskbar (there is no tray) is not seen either: its clock rests.
    if (event->type() == QEvent::WindowStateChange && isVisible()) {
        if (isMinimized())
            m_timing->stopClock();
        else
            m_timing->startClock();
    }
    QWidget::changeEvent(event);
}

void SetupWindow::closeEvent(QCloseEvent *event)
{
    // Closing hides the window into the tray; without a tray it goes to the taskbar instead, so
    // that the user always has a way back.
    if (!m_host.trayAvailable()) {
        event->ignore();
        showMinimized();
        return;
    }
    QWidget::closeEvent(event);
}

void SetupWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        guarded(m_platform.dialogs(), [this] { openHelp(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void SetupWindow::showChosenKind()
{
    m_previewButton->setEnabled(false);
    m_startButton->setEnabled(true);
    const KindRow *row = AlarmDraft::kindRow(m_kindBox->currentText());
    ActionPanel *panel = row ? panelOf(row->kind) : nullptr;
    showPanel(panel);
    m_previewButton->setVisible(!row || row->preview);
    m_timing->allowRepeat(!row || row->canRepeat);
    if (!row) {
        m_startButton->setEnabled(false);
        return;
    }
    if (!panel) { // nothing to enter: nothing to check
        m_previewButton->setEnabled(true);
        return;
    }
    panel->firstField()->setFocus();
    // A check that fails is reported, and the switching goes on.
    guarded(m_platform.dialogs(), [panel] { panel->check(); });
    if (!row->preview)
        m_previewButton->setEnabled(false);
}

void SetupWindow::showPanel(const ActionPanel *shown)
{
    for (const auto &[kind, panel] : m_panels)
        panel->setVisible(panel == shown);
}

ActionPanel *SetupWindow::panelOf(QStringView kind) const
{
    for (const auto &[each, panel] : m_panels)
        if (each == kind)
            return panel;
    return nullptr;
}

void SetupWindow::showReadiness(bool canStart, bool canPreview)
{
    m_previewButton->setEnabled(canPreview);
    m_startButton->setEnabled(canStart);
}

void SetupWindow::preview()
{
    const ArmedAlarm &options = m_host.options();
    if (options.MinimizeProg)
        close();
    Actions actions(m_platform, m_host.actionWindows());
    PreviewHooks hooks;
    hooks.playBeep = options.PlayBeep;
    hooks.confirmSuspension = [this](QStringView subAction) {
        return confirmInputSuspension(subAction);
    };
    hooks.beforeKeys = [this] {
        // The keys go to the window that has the focus, here this one. Without a control to
        // hold the focus they reach the window as a whole: they cannot edit a field, and Space
        // cannot press "Podgląd" again (which would preview it over and over).
        if (focusWidget())
            focusWidget()->clearFocus();
    };
    hooks.suspended = [this] { m_previewInputBack->start(); };
    draft().preview(actions, hooks);
}

bool SetupWindow::confirmInputSuspension(QStringView subAction)
{
    using namespace platform::mb;
    return m_platform.dialogs().messageBox(inputSuspensionQuestion(subAction), u"UWAGA !!!"_qs,
                                           YesNo | IconQuestion) == platform::Answer::Yes;
}

AlarmDraft SetupWindow::draft() const
{
    AlarmDraft draft;
    draft.kind = m_kindBox->currentText();
    m_timing->readInto(draft);
    for (const auto &[kind, panel] : m_panels)
        panel->readInto(draft);
    return draft;
}

void SetupWindow::ib_StartClick()
{
    start();
}

void SetupWindow::start()
{
    const AlarmDraft alarm = draft();
    if (const std::optional<QString> refusal = alarm.countdownRefusal()) {
        m_platform.dialogs().messageBox(*refusal, u"BŁĄD !!!"_qs,
                                        platform::mb::Ok | platform::mb::IconError);
        return;
    }
    // An alarm this desktop cannot carry out is still armed (its settings may serve another
    // session), but the user hears why now, and again when it goes off.
    if (alarm.kind == kinds::Other)
        Actions(m_platform, m_host.actionWindows()).tellIfRefused(alarm.subAction());
    m_stopButton->move(m_startButton->pos());
    // The last-used values and the armed alarm's line go into the store together; a repeat time
    // that is not a number arms nothing, and the values stay stored.
    StoreTransaction transaction(m_storeFile);
    alarm.storeStart(m_storeFile);
    lockWhileArmed(alarm, true);
    try {
        alarm.fill(m_host.alarm());
    } catch (const ConvertError &) {
        transaction.commit();
        throw;
    }
    m_host.startTick();
    transaction.commit();
    close();
}

void SetupWindow::showArmed(const ArmedAlarm &alarm)
{
    const AlarmDraft shown = AlarmDraft::fromArmed(alarm);
    {
        const QSignalBlocker blocker(m_kindBox);
        m_kindBox->setCurrentIndex(m_kindBox->findText(shown.kind));
    }
    ActionPanel *panel = panelOf(shown.kind);
    if (panel)
        panel->showDraft(shown);
    m_timing->showDraft(shown);
    showPanel(panel);
    const KindRow *row = shown.row();
    m_previewButton->setVisible(!row || row->preview);
    m_stopButton->move(m_startButton->pos());
    lockWhileArmed(shown, true);
}

void SetupWindow::lockWhileArmed(const AlarmDraft &alarm, bool locked)
{
    m_kindBox->setEnabled(!locked);
    m_timing->setLocked(locked);
    if (ActionPanel *panel = panelOf(alarm.kind))
        panel->setLocked(locked);
    const KindRow *row = alarm.row();
    if (row && row->preview)
        m_previewButton->setEnabled(!locked);
    if (!locked) // the repeat rule of the editable window
        m_timing->allowRepeat(!row || row->canRepeat);
}

void SetupWindow::stopByUser()
{
    m_platform.input().resumeInput();
    ib_StopClick();
}

void SetupWindow::ib_StopClick()
{
    stop();
}

void SetupWindow::stop()
{
    m_host.stopTick();
    lockWhileArmed(draft(), false);
    m_stopButton->move(-40, -40);
}

void SetupWindow::playAlarmSound(const QString &file)
{
    m_soundPanel->playAlarmSound(file);
}

void SetupWindow::stopAlarmSound()
{
    m_soundPanel->stopAlarmSound();
}

bool SetupWindow::isSounding() const
{
    return m_soundPanel->isSounding();
}

void SetupWindow::openHelp()
{
    const QString path = help::pagePath(m_programDir, help::SetupWindowPage);
    if (QFileInfo(path).isFile())
        m_platform.shell().open(path, QString(), platform::ShowCommand::ShowMaximized);
}

void SetupWindow::showOptions()
{
    setEnabled(false);
    m_host.showOptions();
}

void SetupWindow::showAbout()
{
    setEnabled(false);
    m_host.showAbout();
}

void SetupWindow::quit()
{
    if (const std::vector<ArmedAlarm> armed = m_host.armedAlarms(); !armed.empty()) {
        const QString question = quitQuestion(armed);
        using namespace platform::mb;
        if (m_platform.dialogs().messageBox(question, u"UWAGA !!!"_qs, YesNo | IconExclamation) !=
            platform::Answer::Yes)
            return;
    }
    m_host.quit();
}

void SetupWindow::openMakerPage()
{
    m_platform.shell().open(MakerPage, QString(), platform::ShowCommand::ShowMaximized);
}

void SetupWindow::writeToMaker()
{
    m_platform.shell().open(MakerMail, QString(), platform::ShowCommand::Show);
}

} // namespace tockwell
