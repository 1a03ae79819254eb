#include "SetupWindow.h"

#include "AlarmDraft.h"
#include "FileNameEdit.h"
#include "OtherActionTexts.h"
#include "SetupHost.h"
#include "ShownTexts.h"
#include "SoundPlayer.h"
#include "TimingGroup.h"
#include "WideListComboBox.h"
#include "core/ArmedAlarm.h"
#include "core/Error.h"
#include "core/HelpPages.h"
#include "engine/Clock.h"
#include "engine/ErrorBox.h"
#include "panels/OtherActionsPanel.h"
#include "panels/SoundPanel.h"
#include "platform/Platform.h"
#include "settings/LastSettings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QUrl>

namespace tockwell {

namespace {
const QString MakerPage = u"https://www.kestrolab.pl/tockwell"_qs;
const QString MakerMail =
    u"mailto:tockwell@kestrolab.pl?subject=Tockwell%201.5&body=Dzie%C5%84%20dobry%2C"_qs;
} // namespace

SetupWindow::SetupWindow(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                         SetupHost &host, const QString &programDir, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_platform(platform), m_storeFile(storeFile),
      m_clock(clock), m_host(host), m_programDir(programDir)
{
    setObjectName(u"F_Alarm"_qs);
    setWindowTitle(u"Tockwell"_qs);
    setFixedSize(474, 245);
    setAttribute(Qt::WA_AlwaysShowToolTips); // the hints show also while another window is active

    createSkin();
    createCommandButtons();
    m_timing = new TimingGroup(m_clock, m_storeFile, m_platform.dialogs(), this);
    createActionGroup();
    fitCaptions();
    connectHandlers();
    guarded(m_platform.dialogs(), [this] { initialise(); });
}

SetupWindow::~SetupWindow() = default;

void SetupWindow::enable(std::initializer_list<QWidget *> controls, bool enabled)
{
    for (QWidget *each : controls)
        each->setEnabled(enabled);
}

void SetupWindow::enable(const QStringList &controls, bool enabled) const
{
    for (const QString &name : controls)
        control(name)->setEnabled(enabled);
}

ActionPanel *SetupWindow::panelOf(QStringView kind) const
{
    for (const auto &[each, panel] : m_panels)
        if (each == kind)
            return panel;
    return nullptr;
}

QWidget *SetupWindow::control(QStringView name) const
{
    auto *found = findChild<QWidget *>(name.toString());
    Q_ASSERT_X(found, "SetupWindow::control", qPrintable(name.toString()));
    return found;
}

void SetupWindow::connectHandlers()
{
    const auto on = [this](auto *sender, auto signal, void (SetupWindow::*handler)()) {
        connectGuarded(m_platform.dialogs(), sender, signal, this, handler);
    };
    on(m_startButton, &ImageButton::clicked, &SetupWindow::ib_StartClick);
    on(m_stopButton, &ImageButton::clicked, &SetupWindow::stopByUser);
    on(m_minimizeButton, &ImageButton::clicked, &SetupWindow::ib_MinimalizujClick);
    on(m_quitButton, &ImageButton::clicked, &SetupWindow::ib_KoniecClick);
    on(m_optionsButton, &ImageButton::clicked, &SetupWindow::ib_OpcjeClick);
    on(m_aboutButton, &ImageButton::clicked, &SetupWindow::ib_AboutClick);
    on(m_webPageButton, &ImageButton::clicked, &SetupWindow::ib_WWWClick);
    on(m_mailButton, &ImageButton::clicked, &SetupWindow::ib_MailClick);
    on(m_kindBox, &QComboBox::currentIndexChanged, &SetupWindow::cb_Typ_AlarmuChange);
    // The panels' checks run on their every change, and when their kind is shown.
    for (const auto &[kind, panel] : m_panels)
        connect(panel, &ActionPanel::readinessChanged, this, &SetupWindow::showReadiness);
    connect(m_otherPanel, &OtherActionsPanel::helpRequested, this, &SetupWindow::openHelp);
    on(m_previewButton, &QPushButton::clicked, &SetupWindow::cb_PodgladClick);
    m_previewInputBack = new QTimer(this);
    m_previewInputBack->setObjectName(u"previewInputBack"_qs);
    m_previewInputBack->setSingleShot(true);
    m_previewInputBack->setInterval(PreviewInputSuspensionMs);
    connect(m_previewInputBack, &QTimer::timeout, this,
            [this] { m_platform.input().resumeInput(); });
}

void SetupWindow::initialise()
{
    m_stopButton->move(-40, -40);
    const LastSettings last = readLastSettings(m_storeFile);
    restoreBaseValues(last);
    loadRecentLists(last);
    // The sound check runs once: in the kind switching when the sound kind is restored. A check
    // that fails is reported and creation goes on.
    if (m_kindBox->currentText() != kinds::PlaySound)
        guarded(m_platform.dialogs(), [this] { m_soundPanel->check(); });
    cb_Typ_AlarmuChange();
    m_timing->chooseMode(last.countdown);
}

void SetupWindow::restoreBaseValues(const LastSettings &last)
{
    const QSignalBlocker blocker(m_kindBox); // the kind switching runs once, later
    m_kindBox->setCurrentIndex(last.lastKind ? m_kindBox->findText(*last.lastKind) : -1);
    panelOf(kinds::Shutdown)->restore(last);
    m_otherPanel->restore(last);
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

void SetupWindow::allowRepeatFor(const KindRow *row)
{
    m_timing->allowRepeat(!row || row->canRepeat);
}

void SetupWindow::showPanel(QStringView panel)
{
    for (const KindRow &row : AlarmDraft::kindRows())
        if (!row.panel.isEmpty())
            control(row.panel)->setVisible(row.panel == panel);
}

void SetupWindow::cb_Typ_AlarmuChange()
{
    showChosenKind();
}

void SetupWindow::showChosenKind()
{
    m_previewButton->setEnabled(false);
    m_startButton->setEnabled(true);
    const KindRow *row = AlarmDraft::kindRow(m_kindBox->currentText());
    showPanel(row ? row->panel : QStringView());
    m_previewButton->setVisible(!row || row->preview);
    allowRepeatFor(row);
    if (!row) {
        m_startButton->setEnabled(false);
        return;
    }
    if (row->firstField.isEmpty()) { // nothing to enter: nothing to check
        m_previewButton->setEnabled(true);
        return;
    }
    control(row->firstField)->setFocus();
    // A check that fails is reported, and the switching goes on.
    guarded(m_platform.dialogs(), [this, row] { panelOf(row->kind)->check(); });
    if (!row->preview)
        m_previewButton->setEnabled(false);
}

void SetupWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        guarded(m_platform.dialogs(), [this] { openHelp(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void SetupWindow::openHelp()
{
    const QString path = help::pagePath(m_programDir, help::SetupWindowPage);
    if (QFileInfo(path).isFile())
        m_platform.shell().open(path, QString(), platform::ShowCommand::ShowMaximized);
}

void SetupWindow::ib_OpcjeClick()
{
    setEnabled(false);
    m_host.showOptions();
}

void SetupWindow::ib_AboutClick()
{
    setEnabled(false);
    m_host.showAbout();
}

void SetupWindow::ib_KoniecClick()
{
    if (m_host.isArmed()) {
        const QString question =
            u"Program w tej chwili odlicza czas ustawiony przez użytkownika. Zamykając program "
            "spowodujesz przerwanie odliczania a nadejście ustawionego czasu nie zostanie "
            "zaalarmowane.\r\rCzy mam mimo to zamknąć program ???"_qs;
        using namespace platform::mb;
        if (m_platform.dialogs().messageBox(question, u"UWAGA !!!"_qs, YesNo | IconExclamation) !=
            platform::Answer::Yes)
            return;
    }
    m_host.quit();
}

void SetupWindow::ib_MinimalizujClick()
{
    close();
}

void SetupWindow::ib_WWWClick()
{
    m_platform.shell().open(MakerPage, QString(), platform::ShowCommand::ShowMaximized);
}

void SetupWindow::playAlarmSound(const QString &file)
{
    m_soundPanel->playAlarmSound(file);
}

void SetupWindow::ib_MailClick()
{
    m_platform.shell().open(MakerMail, QString(), platform::ShowCommand::Show);
}

} // namespace tockwell
