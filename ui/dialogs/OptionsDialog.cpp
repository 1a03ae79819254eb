#include "OptionsDialog.h"

#include "WindowPlacement.h"
#include "core/ArmedAlarm.h"
#include "core/HelpPages.h"
#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "ui/skin/CaptionFont.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace tockwell {
namespace {

/// The keys that the dialog answers; with the focus on `m_beepBox` they do nothing.
bool isDialogKey(int key)
{
    return key == Qt::Key_Escape || key == Qt::Key_F1 || key == Qt::Key_Return ||
           key == Qt::Key_Enter;
}

void place(QWidget &widget, const char *name, const QRect &geometry)
{
    widget.setObjectName(QString::fromLatin1(name));
    widget.setGeometry(geometry);
}

} // namespace

OptionsDialog::OptionsDialog(platform::Platform &platform, StoreFile &storeFile, ArmedAlarm &alarm,
                             QWidget &setupWindow, QString programFile, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_platform(platform), m_storeFile(storeFile), m_alarm(alarm),
      m_setupWindow(setupWindow), m_programFile(std::move(programFile)), m_startupFrame(this),
      m_autostartBox(this), m_minimizeAtStartBox(&m_startupFrame), m_beforeAlarmGroup(this),
      m_screenSaverOffBox(&m_beforeAlarmGroup), m_minimizeAllBox(&m_beforeAlarmGroup),
      m_minimizeOnPreviewBox(this), m_beepBox(this), m_wakeBox(this), m_buttonLine(this),
      m_helpButton(this), m_okButton(this)
{
    setObjectName(u"F_Opcje"_qs);
    setWindowTitle(u"Opcje"_qs);
    setFixedSize(313, 249); // 227 for the rows up to m_beepBox, plus one row (22) for m_wakeBox
    buildLayout();
    fitCaptions();

    // The dialog's own keys reach it from the dialog and from the first five boxes; the sixth
    // keeps them to itself.
    m_beepBox.installEventFilter(this);
    connectGuarded(m_platform.dialogs(), &m_beepBox, &QCheckBox::clicked, this,
                   &OptionsDialog::beep);
    connectGuarded(m_platform.dialogs(), &m_okButton, &QPushButton::clicked, this,
                   &OptionsDialog::save);
    connectGuarded(m_platform.dialogs(), &m_helpButton, &QPushButton::clicked, this,
                   &OptionsDialog::openHelp);
    centreOnScreen(*this);
}

void OptionsDialog::buildLayout()
{
    // m_autostartBox sits on the top edge of the bevel that holds m_minimizeAtStartBox.
    place(m_startupFrame, "Bevel1", QRect(4, 12, 305, 44));
    m_startupFrame.setFrameShape(QFrame::Box);
    m_startupFrame.setFrameShadow(QFrame::Sunken);
    place(m_autostartBox, "CheckBox1", QRect(12, 3, 240, 18));
    m_autostartBox.setText(u"Uruchamiaj przy starcie &systemu"_qs);
    m_autostartBox.setAutoFillBackground(true);
    place(m_minimizeAtStartBox, "CheckBox2", QRect(16, 19, 285, 18));
    m_minimizeAtStartBox.setText(u"&Po uruchomieniu minimalizuj do traya"_qs);

    place(m_beforeAlarmGroup, "GroupBox1", QRect(4, 62, 305, 70));
    m_beforeAlarmGroup.setTitle(u" Przed alarmem: "_qs);
    place(m_screenSaverOffBox, "CheckBox4", QRect(6, 22, 297, 18));
    m_screenSaverOffBox.setText(u"&Jeżeli wygaszacz ekranu jest włączony wyłącz go"_qs);
    place(m_minimizeAllBox, "CheckBox3", QRect(6, 44, 297, 18));
    m_minimizeAllBox.setText(u"&Minimalizuj wszystkie okna"_qs);

    place(m_minimizeOnPreviewBox, "CheckBox5", QRect(4, 138, 309, 18));
    m_minimizeOnPreviewBox.setText(u"&Uruchamiając podgląd alarmu minimalizuj okno główne"_qs);
    place(m_beepBox, "CheckBox6", QRect(4, 160, 309, 18));
    m_beepBox.setText(u"Podczas najazdu domyślnego okna odgrywaj dźwięk (beep)"_qs);
    m_beepBox.setToolTip(u"Jest to dźwiek BEEP, który słyszysz zaznaczając tą opcję !!!"_qs);

    place(m_wakeBox, "CheckBox7", QRect(4, 182, 309, 18));
    m_wakeBox.setText(u"Budź komputer ze stanu uśpienia na alarm"_qs);
    m_wakeBox.setToolTip(u"Dla alarmu o godzinie: komputer uśpiony wieczorem zostanie wybudzony "
                         u"na minutę przed alarmem"_qs);

    place(m_buttonLine, "Bevel2", QRect(4, 208, 305, 1));
    m_buttonLine.setFrameShape(QFrame::HLine);
    m_buttonLine.setFrameShadow(QFrame::Sunken);

    // Flat buttons that never take the focus, so that the keys always reach a box or the dialog.
    const auto button = [this](QPushButton &b, const char *name, int x, const QString &text,
                               QStyle::StandardPixmap glyph) {
        place(b, name, QRect(x, 216, 80, 26));
        b.setText(text);
        b.setIcon(style()->standardIcon(glyph));
        b.setFlat(true);
        b.setFocusPolicy(Qt::NoFocus);
    };
    button(m_helpButton, "SpeedButton2", 137, u"Pomoc"_qs, QStyle::SP_DialogHelpButton);
    button(m_okButton, "SpeedButton1", 225, u"OK"_qs, QStyle::SP_DialogOkButton);
}

void OptionsDialog::fitCaptions()
{
    // The places are fixed: the dialog takes the largest small size at which every caption fits.
    const std::array boxes = {&m_autostartBox,   &m_minimizeAtStartBox,   &m_screenSaverOffBox,
                              &m_minimizeAllBox, &m_minimizeOnPreviewBox, &m_beepBox,
                              &m_wakeBox};
    fitCaptionFont(*this, QList<const QWidget *>(boxes.begin(), boxes.end()));
    m_autostartBox.adjustSize();
}

std::array<OptionsDialog::Option, 6> OptionsDialog::options()
{
    return {
        {{.box = &m_minimizeAtStartBox,
          .key = keys::AutoMinimize,
          .flag = &ArmedAlarm::AutoMinimize},
         {.box = &m_screenSaverOffBox, .key = keys::Wyg_Off, .flag = &ArmedAlarm::ScreenSaverOff},
         {.box = &m_minimizeAllBox, .key = keys::MinimizeAll, .flag = &ArmedAlarm::MinimizeAll},
         {.box = &m_minimizeOnPreviewBox,
          .key = keys::MinimizeProg,
          .flag = &ArmedAlarm::MinimizeProg},
         {.box = &m_beepBox, .key = keys::PlayBeep, .flag = &ArmedAlarm::PlayBeep},
         {.box = &m_wakeBox,
          .key = keys::WakeFromSleep,
          .flag = &ArmedAlarm::WakeFromSleep,
          .byDefault = true}}};
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    // Restoring from a minimised state is no new showing: unsaved changes stay.
    if (!event->spontaneous())
        guarded(m_platform.dialogs(), [this] { load(); });
    QWidget::showEvent(event);
}

void OptionsDialog::load()
{
    {
        Store store(m_storeFile);
        store.openKey(keys::Base);
        for (const Option &option : options()) {
            const bool stored = store.readBool(option.key).value_or(option.byDefault);
            const bool changed = option.box->isChecked() != stored;
            option.box->setChecked(stored);
            // Set by the program, the box counts as clicked when its state changes.
            if (changed && option.box == &m_beepBox)
                beep();
        }
    }
    m_autostartBox.setChecked(m_platform.autostart().isActive());
    m_helpButton.setVisible(QFileInfo::exists(helpFile()));
}

void OptionsDialog::save()
{
    {
        Store store(m_storeFile);
        store.openKey(keys::Base);
        for (const Option &option : options()) {
            const bool ticked = option.box->isChecked();
            store.writeBool(option.key, ticked);
            m_alarm.*option.flag = ticked;
        }
    }
    const QString entryName = u"Alarm"_qs; // the autostart entry's name in messages
    if (m_autostartBox.isChecked()) {
        if (!m_platform.autostart().write(m_programFile))
            throw StoreError(entryName);
    } else if (!m_platform.autostart().removeIfActive()) {
        throw StoreError::withText(u"Failed to delete value '%1'"_qs.arg(entryName));
    }
    emit saved();
    close();
}

void OptionsDialog::openHelp()
{
    m_platform.shell().open(helpFile(), QString(), platform::ShowCommand::ShowMaximized);
}

void OptionsDialog::beep()
{
    m_platform.audio().beep();
}

void OptionsDialog::keyPressEvent(QKeyEvent *event)
{
    // Keys that the first five boxes leave alone come here too.
    if (isDialogKey(event->key()))
        guarded(m_platform.dialogs(), [this, key = event->key()] { answerKey(key); });
    else
        QWidget::keyPressEvent(event);
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_beepBox && event->type() == QEvent::KeyPress)
        return isDialogKey(static_cast<QKeyEvent *>(event)->key());
    return QWidget::eventFilter(watched, event);
}

void OptionsDialog::answerKey(int key)
{
    if (key == Qt::Key_Escape)
        close();
    else if (key == Qt::Key_F1 && !m_helpButton.isHidden())
        openHelp();
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        save();
}

void OptionsDialog::closeEvent(QCloseEvent *event)
{
    enableSetupWindow();
    event->accept();
}

void OptionsDialog::enableSetupWindow()
{
    m_setupWindow.setEnabled(true);
}

QString OptionsDialog::helpFile() const
{
    return help::pagePath(QFileInfo(m_programFile).path(), help::ProgramPage);
}

} // namespace tockwell
