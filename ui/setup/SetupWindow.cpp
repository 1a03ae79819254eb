#include "SetupWindow.h"

#include "ClockGroupBox.h"
#include "FileNameEdit.h"
#include "SetupHost.h"
#include "ShownTexts.h"
#include "SoundPlayer.h"
#include "core/ArmedAlarm.h"
#include "core/Error.h"
#include "core/HelpPages.h"
#include "engine/Clock.h"
#include "engine/ErrorBox.h"
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
    createTimingGroup();
    createActionGroup();
    fitCaptions();
    connectHandlers();
    handle([this] { FormCreate(); });
}

SetupWindow::~SetupWindow() = default;

void SetupWindow::enable(std::initializer_list<QWidget *> controls, bool enabled)
{
    for (QWidget *control : controls)
        control->setEnabled(enabled);
}

void SetupWindow::handle(const std::function<void()> &handler)
{
    guarded(m_platform.dialogs(), handler);
}

void SetupWindow::connectHandlers()
{
    const auto on = [this](auto *sender, auto signal, void (SetupWindow::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { handle([this, handler] { (this->*handler)(); }); });
    };
    on(ib_Start, &ImageButton::clicked, &SetupWindow::ib_StartClick);
    on(ib_Stop, &ImageButton::clicked, &SetupWindow::stopByUser);
    on(ib_Minimalizuj, &ImageButton::clicked, &SetupWindow::ib_MinimalizujClick);
    on(ib_Koniec, &ImageButton::clicked, &SetupWindow::ib_KoniecClick);
    on(ib_Opcje, &ImageButton::clicked, &SetupWindow::ib_OpcjeClick);
    on(ib_About, &ImageButton::clicked, &SetupWindow::ib_AboutClick);
    on(ib_WWW, &ImageButton::clicked, &SetupWindow::ib_WWWClick);
    on(ib_Mail, &ImageButton::clicked, &SetupWindow::ib_MailClick);
    on(rb_ur_o_godz, &QRadioButton::toggled, &SetupWindow::rb_ur_o_godzClick);
    on(rb_ur_po_czasie, &QRadioButton::toggled, &SetupWindow::rb_ur_o_godzClick);
    on(cb_PowtorzAkcje, &QCheckBox::toggled, &SetupWindow::cb_PowtorzAkcjeClick);
    on(cb_Typ_Alarmu, &QComboBox::currentIndexChanged, &SetupWindow::cb_Typ_AlarmuChange);
    on(cb_Komunikat, &QComboBox::editTextChanged, &SetupWindow::cb_KomunikatChange);
    on(cb_Caption, &QComboBox::editTextChanged, &SetupWindow::cb_KomunikatChange);
    on(cb_ZamknijSystem, &QComboBox::editTextChanged, &SetupWindow::cb_ZamknijSystemChange);
    on(fne_PlikEXE, &FileNameEdit::textChanged, &SetupWindow::fne_PlikEXEChange);
    on(fne_Plik, &FileNameEdit::textChanged, &SetupWindow::fne_PlikChange);
    on(de_Foldery, &FileNameEdit::textChanged, &SetupWindow::de_FolderyChange);
    on(e_WWW, &QLineEdit::textChanged, &SetupWindow::e_WWWChange);
    on(fne_PlikWAV, &FileNameEdit::textChanged, &SetupWindow::fne_PlikWAVChange);
    on(Play, &QToolButton::clicked, &SetupWindow::PlayClick);
    on(Pause, &QToolButton::clicked, &SetupWindow::PauseClick);
    on(Stop, &QToolButton::clicked, &SetupWindow::StopClick);
    on(cb_InneOpcje, &QComboBox::editTextChanged, &SetupWindow::cb_InneOpcjeChange);
    on(&t_TimerDoCzasu, &QTimer::timeout, &SetupWindow::t_TimerDoCzasuTimer);
    on(cb_Podglad, &QPushButton::clicked, &SetupWindow::cb_PodgladClick);
    on(SpeedButton1, &QToolButton::clicked, &SetupWindow::SpeedButton1Click);
    on(cb_Inne_DyskCD, &QComboBox::editTextChanged, &SetupWindow::cb_Inne_DyskCDChange);
    on(cd_Inne_DyskCD_WsWy, &QComboBox::editTextChanged, &SetupWindow::cd_Inne_DyskCD_WsWyChange);
    on(cb_Klawisze, &QComboBox::editTextChanged, &SetupWindow::cb_KlawiszeChange);
    setUpOtherActions();
}

void SetupWindow::FormCreate()
{
    createBalloonHints();
    t_TimerDoCzasuTimer();
    t_TimerDoCzasu.setInterval(1000);
    ib_Stop->move(-40, -40);
    // Click points are in the screen's device pixels, as the pointer is read and clicked.
    const QSize screenSize = m_platform.input().screenSize();
    se_Inne_X_DC->setRange(0, screenSize.width());
    se_Inne_Y_DC->setRange(0, screenSize.height());
    loadTimeMenus();
    const LastSettings last = readLastSettings(m_storeFile);
    restoreBaseValues(last);
    restoreTimeEntries();
    loadMessageLists();
    loadFieldLists();
    // The sound check runs once: in the kind switching when the sound kind is restored. A check
    // that fails is reported and creation goes on.
    if (cb_Typ_Alarmu->currentText() != kinds::PlaySound)
        checkSoundField();
    cb_Typ_AlarmuChange();
    QRadioButton *mode = last.countdown ? rb_ur_po_czasie : rb_ur_o_godz;
    mode->setFocus();
    mode->setChecked(true);
    rb_ur_o_godzClick();
}

void SetupWindow::restoreBaseValues(const LastSettings &last)
{
    cb_PowtorzAkcje->setChecked(last.repeat);
    e_CzasPowtorki->setText(last.repeatTime);
    const QSignalBlocker blocker(cb_Typ_Alarmu); // the kind switching runs once, later
    cb_Typ_Alarmu->setCurrentIndex(last.lastKind ? cb_Typ_Alarmu->findText(*last.lastKind) : -1);
    cb_ZamknijSystem->setEditText(shownText(last.reboot));
    cb_InneOpcje->setEditText(shownText(last.other));
}

void SetupWindow::t_TimerDoCzasuTimer()
{
    // The system's long time format, without the time zone that Qt's long format adds.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(u't').replace(u"  "_qs, u" "_qs);
    const QString now = m_clock.now().time().toString(format.trimmed());
    gb1->setCaption(u" W tej chwili jest: "_qs + now + u" "_qs);
}

void SetupWindow::showEvent(QShowEvent *event)
{
    // The caption's clock rests while the window is hidden and is current the instant it shows.
    t_TimerDoCzasuTimer();
    t_TimerDoCzasu.start();
    QWidget::showEvent(event);
}

void SetupWindow::hideEvent(QHideEvent *event)
{
    t_TimerDoCzasu.stop();
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

void SetupWindow::rb_ur_o_godzClick()
{
    if (!rb_ur_o_godz->isChecked() && !rb_ur_po_czasie->isChecked())
        return;
    const bool clock = rb_ur_o_godz->isChecked();
    enable({se_ur_o_godz_godz, se_ur_o_godz_min, se_ur_o_godz_sec, Label1, sb_ur_alarm_o}, clock);
    enable({se_ur_po_czasie_godz, se_ur_po_czasie_min, se_ur_po_czasie_sec, Label2, sb_ur_alarm_za},
           !clock);
}

void SetupWindow::cb_PowtorzAkcjeClick()
{
    e_CzasPowtorki->setEnabled(cb_PowtorzAkcje->isChecked() && cb_PowtorzAkcje->isEnabled());
}

void SetupWindow::showPanel(QWidget *panel)
{
    for (QWidget *each : {p_k_komunikat, p_k_PdegrajDzwiek, p_Zamknij, p_UrProg, p_Plik,
                          p_OtworzFolder, p_WWW, p_Inne})
        each->setVisible(each == panel);
}

void SetupWindow::cb_Typ_AlarmuChange()
{
    cb_Podglad->setEnabled(false);
    cb_Podglad->setVisible(true);
    ib_Start->setEnabled(true);
    cb_PowtorzAkcje->setEnabled(true);
    e_CzasPowtorki->setEnabled(cb_PowtorzAkcje->isChecked());

    const QString kind = cb_Typ_Alarmu->currentText();
    const auto open = [this](QWidget *panel, QWidget *focus, void (SetupWindow::*check)()) {
        showPanel(panel);
        focus->setFocus();
        (this->*check)();
    };
    if (kind == kinds::DefaultWindow) {
        showPanel(nullptr);
        cb_PowtorzAkcje->setEnabled(false);
        e_CzasPowtorki->setEnabled(false);
        cb_Podglad->setEnabled(true);
    } else if (kind == kinds::Message) {
        open(p_k_komunikat, cb_Komunikat, &SetupWindow::cb_KomunikatChange);
    } else if (kind == kinds::PlaySound) {
        open(p_k_PdegrajDzwiek, fne_PlikWAV, &SetupWindow::checkSoundField);
        cb_Podglad->setEnabled(false);
        cb_Podglad->setVisible(false);
    } else if (kind == kinds::Shutdown) {
        open(p_Zamknij, cb_ZamknijSystem, &SetupWindow::cb_ZamknijSystemChange);
        cb_Podglad->setEnabled(false);
        cb_Podglad->setVisible(false);
        cb_PowtorzAkcje->setEnabled(false);
        e_CzasPowtorki->setEnabled(false);
    } else if (kind == kinds::RunProgram) {
        open(p_UrProg, fne_PlikEXE, &SetupWindow::fne_PlikEXEChange);
    } else if (kind == kinds::OpenFile) {
        open(p_Plik, fne_Plik, &SetupWindow::fne_PlikChange);
    } else if (kind == kinds::OpenFolder) {
        open(p_OtworzFolder, de_Foldery, &SetupWindow::de_FolderyChange);
    } else if (kind == kinds::OpenWebPage) {
        open(p_WWW, e_WWW, &SetupWindow::e_WWWChange);
    } else if (kind == kinds::Other) {
        open(p_Inne, cb_InneOpcje, &SetupWindow::cb_InneOpcjeChange);
    } else {
        showPanel(nullptr);
        ib_Start->setEnabled(false);
    }
}

bool SetupWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == se_Inne_X_DC || watched == se_Inne_Y_DC || watched->parent() == se_Inne_X_DC ||
         watched->parent() == se_Inne_Y_DC)) {
        bool handled = false;
        handle([&] { handled = se_Inne_X_DCKeyDown(*static_cast<QKeyEvent *>(event)); });
        return handled;
    }
    return QWidget::eventFilter(watched, event);
}

void SetupWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        handle([this] { openHelp(); });
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

void SetupWindow::ib_MailClick()
{
    m_platform.shell().open(MakerMail, QString(), platform::ShowCommand::Show);
}

} // namespace tockwell
