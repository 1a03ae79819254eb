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

/// The keys that the dialog answers; with the focus on `CheckBox6` they do nothing.
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

template <typename Handler> void OptionsDialog::guard(Handler &&handler)
{
    guarded(m_platform.dialogs(), std::forward<Handler>(handler));
}

OptionsDialog::OptionsDialog(platform::Platform &platform, StoreFile &storeFile, ArmedAlarm &alarm,
                             QWidget &setupWindow, QString programFile, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_platform(platform), m_storeFile(storeFile), m_alarm(alarm),
      m_setupWindow(setupWindow), m_programFile(std::move(programFile)), Bevel1(this),
      CheckBox1(this), CheckBox2(&Bevel1), GroupBox1(this), CheckBox4(&GroupBox1),
      CheckBox3(&GroupBox1), CheckBox5(this), CheckBox6(this), CheckBox7(this), Bevel2(this),
      SpeedButton2(this), SpeedButton1(this)
{
    setObjectName(u"F_Opcje"_qs);
    setWindowTitle(u"Opcje"_qs);
    setFixedSize(313, 249); // one row more for CheckBox7 than the original 227
    buildLayout();
    fitCaptions();

    // The dialog's own keys reach it from the dialog and from the first five boxes; the sixth
    // keeps them to itself.
    CheckBox6.installEventFilter(this);
    connect(&CheckBox6, &QCheckBox::clicked, this, [this] { guard([this] { CheckBox6Click(); }); });
    connect(&SpeedButton1, &QPushButton::clicked, this,
            [this] { guard([this] { SpeedButton1Click(); }); });
    connect(&SpeedButton2, &QPushButton::clicked, this,
            [this] { guard([this] { SpeedButton2Click(); }); });
    centreOnScreen(*this);
}

void OptionsDialog::buildLayout()
{
    // CheckBox1 sits on the top edge of the bevel that holds CheckBox2.
    place(Bevel1, "Bevel1", QRect(4, 12, 305, 44));
    Bevel1.setFrameShape(QFrame::Box);
    Bevel1.setFrameShadow(QFrame::Sunken);
    place(CheckBox1, "CheckBox1", QRect(12, 3, 240, 18));
    CheckBox1.setText(u"Uruchamiaj przy starcie &systemu"_qs);
    CheckBox1.setAutoFillBackground(true);
    place(CheckBox2, "CheckBox2", QRect(16, 19, 285, 18));
    CheckBox2.setText(u"&Po uruchomieniu minimalizuj do traya"_qs);

    place(GroupBox1, "GroupBox1", QRect(4, 62, 305, 70));
    GroupBox1.setTitle(u" Przed alarmem: "_qs);
    place(CheckBox4, "CheckBox4", QRect(6, 22, 297, 18));
    CheckBox4.setText(u"&Jeżeli wygaszacz ekranu jest włączony wyłącz go"_qs);
    place(CheckBox3, "CheckBox3", QRect(6, 44, 297, 18));
    CheckBox3.setText(u"&Minimalizuj wszystkie okna"_qs);

    place(CheckBox5, "CheckBox5", QRect(4, 138, 309, 18));
    CheckBox5.setText(u"&Uruchamiając podgląd alarmu minimalizuj okno główne"_qs);
    place(CheckBox6, "CheckBox6", QRect(4, 160, 309, 18));
    CheckBox6.setText(u"Podczas najazdu domyślnego okna odgrywaj dźwięk (beep)"_qs);
    CheckBox6.setToolTip(u"Jest to dźwiek BEEP, który słyszysz zaznaczając tą opcję !!!"_qs);

    place(CheckBox7, "CheckBox7", QRect(4, 182, 309, 18));
    CheckBox7.setText(u"Budź komputer ze stanu uśpienia na alarm"_qs);
    CheckBox7.setToolTip(u"Dla alarmu o godzinie: komputer uśpiony wieczorem zostanie wybudzony "
                         u"na minutę przed alarmem"_qs);

    place(Bevel2, "Bevel2", QRect(4, 208, 305, 1));
    Bevel2.setFrameShape(QFrame::HLine);
    Bevel2.setFrameShadow(QFrame::Sunken);

    // Flat buttons that never take the focus, so that the keys always reach a box or the dialog.
    const auto button = [this](QPushButton &b, const char *name, int x, const QString &text,
                               QStyle::StandardPixmap glyph) {
        place(b, name, QRect(x, 216, 80, 26));
        b.setText(text);
        b.setIcon(style()->standardIcon(glyph));
        b.setFlat(true);
        b.setFocusPolicy(Qt::NoFocus);
    };
    button(SpeedButton2, "SpeedButton2", 137, u"Pomoc"_qs, QStyle::SP_DialogHelpButton);
    button(SpeedButton1, "SpeedButton1", 225, u"OK"_qs, QStyle::SP_DialogOkButton);
}

void OptionsDialog::fitCaptions()
{
    // The places are fixed: the dialog takes the largest small size at which every caption fits.
    const std::array boxes = {&CheckBox1, &CheckBox2, &CheckBox4, &CheckBox3,
                              &CheckBox5, &CheckBox6, &CheckBox7};
    fitCaptionFont(*this, QList<const QWidget *>(boxes.begin(), boxes.end()));
    CheckBox1.adjustSize();
}

std::array<OptionsDialog::Option, 6> OptionsDialog::options()
{
    return {{{&CheckBox2, keys::AutoMinimize, &ArmedAlarm::AutoMinimize},
             {&CheckBox4, keys::Wyg_Off, &ArmedAlarm::Wyg_Off},
             {&CheckBox3, keys::MinimizeAll, &ArmedAlarm::MinimizeAll},
             {&CheckBox5, keys::MinimizeProg, &ArmedAlarm::MinimizeProg},
             {&CheckBox6, keys::PlayBeep, &ArmedAlarm::PlayBeep},
             {&CheckBox7, keys::WakeFromSleep, &ArmedAlarm::WakeFromSleep, true}}};
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    // Restoring from a minimised state is no new showing: unsaved changes stay.
    if (!event->spontaneous())
        guard([this] { FormShow(); });
    QWidget::showEvent(event);
}

void OptionsDialog::FormShow()
{
    {
        Store store(m_storeFile);
        store.openKey(keys::Base.toString());
        for (const Option &option : options()) {
            const bool stored = store.readBool(option.key.toString()).value_or(option.byDefault);
            const bool changed = option.box->isChecked() != stored;
            option.box->setChecked(stored);
            // Set by the program, the box counts as clicked when its state changes.
            if (changed && option.box == &CheckBox6)
                CheckBox6Click();
        }
    }
    CheckBox1.setChecked(m_platform.autostart().isActive());
    SpeedButton2.setVisible(QFileInfo::exists(helpFile()));
}

void OptionsDialog::SpeedButton1Click()
{
    {
        Store store(m_storeFile);
        store.openKey(keys::Base.toString());
        for (const Option &option : options()) {
            const bool ticked = option.box->isChecked();
            store.writeBool(option.key.toString(), ticked);
            m_alarm.*option.flag = ticked;
        }
    }
    const QString entryName = u"Alarm"_qs; // the autostart entry's name in messages
    if (CheckBox1.isChecked()) {
        if (!m_platform.autostart().write(m_programFile))
            throw StoreError(entryName);
    } else if (!m_platform.autostart().removeIfActive()) {
        throw StoreError::withText(u"Failed to delete value '%1'"_qs.arg(entryName));
    }
    emit saved();
    close();
}

void OptionsDialog::SpeedButton2Click()
{
    m_platform.shell().open(helpFile(), QString(), platform::ShowCommand::ShowMaximized);
}

void OptionsDialog::CheckBox6Click()
{
    m_platform.audio().beep();
}

void OptionsDialog::keyPressEvent(QKeyEvent *event)
{
    // Keys that the first five boxes leave alone come here too.
    if (isDialogKey(event->key()))
        guard([this, key = event->key()] { FormKeyDown(key); });
    else
        QWidget::keyPressEvent(event);
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &CheckBox6 && event->type() == QEvent::KeyPress)
        return isDialogKey(static_cast<QKeyEvent *>(event)->key());
    return QWidget::eventFilter(watched, event);
}

void OptionsDialog::FormKeyDown(int key)
{
    if (key == Qt::Key_Escape)
        close();
    else if (key == Qt::Key_F1 && !SpeedButton2.isHidden())
        SpeedButton2Click();
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        SpeedButton1Click();
}

void OptionsDialog::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void OptionsDialog::FormClose()
{
    m_setupWindow.setEnabled(true);
}

QString OptionsDialog::helpFile() const
{
    return help::pagePath(QFileInfo(m_programFile).path(), help::ProgramPage);
}

} // namespace tockwell
