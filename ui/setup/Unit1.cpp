#include "Unit1.h"

#include "ClockGroupBox.h"
#include "FileNameEdit.h"
#include "SetupHost.h"
#include "ShownTexts.h"
#include "SoundPlayer.h"
#include "engine/ArmedAlarm.h"
#include "engine/Clock.h"
#include "engine/Error.h"
#include "engine/ErrorBox.h"
#include "engine/HelpPages.h"
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

TF_Alarm::TF_Alarm(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
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

TF_Alarm::~TF_Alarm() = default;

void TF_Alarm::enable(std::initializer_list<QWidget *> controls, bool enabled)
{
    for (QWidget *control : controls)
        control->setEnabled(enabled);
}

void TF_Alarm::handle(const std::function<void()> &handler)
{
    guarded(m_platform.dialogs(), handler);
}

void TF_Alarm::connectHandlers()
{
    const auto on = [this](auto *sender, auto signal, void (TF_Alarm::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { handle([this, handler] { (this->*handler)(); }); });
    };
    on(ib_Start, &TImageButton::clicked, &TF_Alarm::ib_StartClick);
    on(ib_Stop, &TImageButton::clicked, &TF_Alarm::stopByUser);
    on(ib_Minimalizuj, &TImageButton::clicked, &TF_Alarm::ib_MinimalizujClick);
    on(ib_Koniec, &TImageButton::clicked, &TF_Alarm::ib_KoniecClick);
    on(ib_Opcje, &TImageButton::clicked, &TF_Alarm::ib_OpcjeClick);
    on(ib_About, &TImageButton::clicked, &TF_Alarm::ib_AboutClick);
    on(ib_WWW, &TImageButton::clicked, &TF_Alarm::ib_WWWClick);
    on(ib_Mail, &TImageButton::clicked, &TF_Alarm::ib_MailClick);
    on(rb_ur_o_godz, &QRadioButton::toggled, &TF_Alarm::rb_ur_o_godzClick);
    on(rb_ur_po_czasie, &QRadioButton::toggled, &TF_Alarm::rb_ur_o_godzClick);
    on(cb_PowtorzAkcje, &QCheckBox::toggled, &TF_Alarm::cb_PowtorzAkcjeClick);
    on(cb_Typ_Alarmu, &QComboBox::currentIndexChanged, &TF_Alarm::cb_Typ_AlarmuChange);
    on(cb_Komunikat, &QComboBox::editTextChanged, &TF_Alarm::cb_KomunikatChange);
    on(cb_Caption, &QComboBox::editTextChanged, &TF_Alarm::cb_KomunikatChange);
    on(cb_ZamknijSystem, &QComboBox::editTextChanged, &TF_Alarm::cb_ZamknijSystemChange);
    on(fne_PlikEXE, &FileNameEdit::textChanged, &TF_Alarm::fne_PlikEXEChange);
    on(fne_Plik, &FileNameEdit::textChanged, &TF_Alarm::fne_PlikChange);
    on(de_Foldery, &FileNameEdit::textChanged, &TF_Alarm::de_FolderyChange);
    on(e_WWW, &QLineEdit::textChanged, &TF_Alarm::e_WWWChange);
    on(fne_PlikWAV, &FileNameEdit::textChanged, &TF_Alarm::fne_PlikWAVChange);
    on(Play, &QToolButton::clicked, &TF_Alarm::PlayClick);
    on(Pause, &QToolButton::clicked, &TF_Alarm::PauseClick);
    on(Stop, &QToolButton::clicked, &TF_Alarm::StopClick);
    on(cb_InneOpcje, &QComboBox::editTextChanged, &TF_Alarm::cb_InneOpcjeChange);
    on(&t_TimerDoCzasu, &QTimer::timeout, &TF_Alarm::t_TimerDoCzasuTimer);
    on(cb_Podglad, &QPushButton::clicked, &TF_Alarm::cb_PodgladClick);
    on(SpeedButton1, &QToolButton::clicked, &TF_Alarm::SpeedButton1Click);
    on(cb_Inne_DyskCD, &QComboBox::editTextChanged, &TF_Alarm::cb_Inne_DyskCDChange);
    on(cd_Inne_DyskCD_WsWy, &QComboBox::editTextChanged, &TF_Alarm::cd_Inne_DyskCD_WsWyChange);
    on(cb_Klawisze, &QComboBox::editTextChanged, &TF_Alarm::cb_KlawiszeChange);
    setUpOtherActions();
}

void TF_Alarm::FormCreate()
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

void TF_Alarm::restoreBaseValues(const LastSettings &last)
{
    cb_PowtorzAkcje->setChecked(last.repeat);
    e_CzasPowtorki->setText(last.repeatTime);
    const QSignalBlocker blocker(cb_Typ_Alarmu); // the kind switching runs once, later
    cb_Typ_Alarmu->setCurrentIndex(last.lastKind ? cb_Typ_Alarmu->findText(*last.lastKind) : -1);
    cb_ZamknijSystem->setEditText(shownText(last.reboot));
    cb_InneOpcje->setEditText(shownText(last.other));
}

void TF_Alarm::t_TimerDoCzasuTimer()
{
    // The system's long time format, without the time zone that Qt's long format adds.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(u't').replace(u"  "_qs, u" "_qs);
    const QString now = m_clock.now().time().toString(format.trimmed());
    gb1->setCaption(u" W tej chwili jest: "_qs + now + u" "_qs);
}

void TF_Alarm::showEvent(QShowEvent *event)
{
    // The caption's clock rests while the window is hidden and is current the instant it shows.
    t_TimerDoCzasuTimer();
    t_TimerDoCzasu.start();
    QWidget::showEvent(event);
}

void TF_Alarm::hideEvent(QHideEvent *event)
{
    t_TimerDoCzasu.stop();
    QWidget::hideEvent(event);
}

void TF_Alarm::closeEvent(QCloseEvent *event)
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

void TF_Alarm::rb_ur_o_godzClick()
{
    if (!rb_ur_o_godz->isChecked() && !rb_ur_po_czasie->isChecked())
        return;
    const bool clock = rb_ur_o_godz->isChecked();
    enable({se_ur_o_godz_godz, se_ur_o_godz_min, se_ur_o_godz_sec, Label1, sb_ur_alarm_o}, clock);
    enable({se_ur_po_czasie_godz, se_ur_po_czasie_min, se_ur_po_czasie_sec, Label2, sb_ur_alarm_za},
           !clock);
}

void TF_Alarm::cb_PowtorzAkcjeClick()
{
    e_CzasPowtorki->setEnabled(cb_PowtorzAkcje->isChecked() && cb_PowtorzAkcje->isEnabled());
}

void TF_Alarm::showPanel(QWidget *panel)
{
    for (QWidget *each : {p_k_komunikat, p_k_PdegrajDzwiek, p_Zamknij, p_UrProg, p_Plik,
                          p_OtworzFolder, p_WWW, p_Inne})
        each->setVisible(each == panel);
}

void TF_Alarm::cb_Typ_AlarmuChange()
{
    cb_Podglad->setEnabled(false);
    cb_Podglad->setVisible(true);
    ib_Start->setEnabled(true);
    cb_PowtorzAkcje->setEnabled(true);
    e_CzasPowtorki->setEnabled(cb_PowtorzAkcje->isChecked());

    const QString kind = cb_Typ_Alarmu->currentText();
    const auto open = [this](QWidget *panel, QWidget *focus, void (TF_Alarm::*check)()) {
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
        open(p_k_komunikat, cb_Komunikat, &TF_Alarm::cb_KomunikatChange);
    } else if (kind == kinds::PlaySound) {
        open(p_k_PdegrajDzwiek, fne_PlikWAV, &TF_Alarm::checkSoundField);
        cb_Podglad->setEnabled(false);
        cb_Podglad->setVisible(false);
    } else if (kind == kinds::Shutdown) {
        open(p_Zamknij, cb_ZamknijSystem, &TF_Alarm::cb_ZamknijSystemChange);
        cb_Podglad->setEnabled(false);
        cb_Podglad->setVisible(false);
        cb_PowtorzAkcje->setEnabled(false);
        e_CzasPowtorki->setEnabled(false);
    } else if (kind == kinds::RunProgram) {
        open(p_UrProg, fne_PlikEXE, &TF_Alarm::fne_PlikEXEChange);
    } else if (kind == kinds::OpenFile) {
        open(p_Plik, fne_Plik, &TF_Alarm::fne_PlikChange);
    } else if (kind == kinds::OpenFolder) {
        open(p_OtworzFolder, de_Foldery, &TF_Alarm::de_FolderyChange);
    } else if (kind == kinds::OpenWebPage) {
        open(p_WWW, e_WWW, &TF_Alarm::e_WWWChange);
    } else if (kind == kinds::Other) {
        open(p_Inne, cb_InneOpcje, &TF_Alarm::cb_InneOpcjeChange);
    } else {
        showPanel(nullptr);
        ib_Start->setEnabled(false);
    }
}

bool TF_Alarm::eventFilter(QObject *watched, QEvent *event)
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

void TF_Alarm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        handle([this] { openHelp(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void TF_Alarm::openHelp()
{
    const QString path = help::pagePath(m_programDir, help::SetupWindowPage);
    if (QFileInfo(path).isFile())
        m_platform.shell().open(path, QString(), platform::ShowCommand::ShowMaximized);
}

void TF_Alarm::ib_OpcjeClick()
{
    setEnabled(false);
    m_host.showOptions();
}

void TF_Alarm::ib_AboutClick()
{
    setEnabled(false);
    m_host.showAbout();
}

void TF_Alarm::ib_KoniecClick()
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

void TF_Alarm::ib_MinimalizujClick()
{
    close();
}

void TF_Alarm::ib_WWWClick()
{
    m_platform.shell().open(MakerPage, QString(), platform::ShowCommand::ShowMaximized);
}

void TF_Alarm::ib_MailClick()
{
    m_platform.shell().open(MakerMail, QString(), platform::ShowCommand::Show);
}

} // namespace tockwell
