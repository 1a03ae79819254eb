// Start arms the alarm from the window's fields; Stop disarms it and gives the window back.
#include "AlarmDraft.h"
#include "FileNameEdit.h"
#include "SetupHost.h"
#include "SetupWindow.h"
#include "engine/ArmedAlarm.h"
#include "engine/Error.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/LastSettings.h"
#include "settings/RecentList.h"
#include "settings/Store.h"
#include "settings/TimeEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include <initializer_list>

namespace tockwell {
namespace {

// A field's value is its text read as a whole number; a text that is not one reads as 0.
int fieldValue(const QSpinBox *field)
{
    bool ok = false;
    const int value = field->cleanText().toInt(&ok);
    return ok ? value : 0;
}

} // namespace

AlarmDraft SetupWindow::draft() const
{
    AlarmDraft draft;
    draft.kind = cb_Typ_Alarmu->currentText();
    draft.countdown = !rb_ur_o_godz->isChecked();
    draft.clockTime = {fieldValue(se_ur_o_godz_godz), fieldValue(se_ur_o_godz_min),
                       fieldValue(se_ur_o_godz_sec)};
    draft.countdownTime = {fieldValue(se_ur_po_czasie_godz), fieldValue(se_ur_po_czasie_min),
                           fieldValue(se_ur_po_czasie_sec)};
    draft.repeatChecked = cb_PowtorzAkcje->isChecked();
    draft.repeatAvailable = cb_PowtorzAkcje->isEnabled();
    draft.repeatText = e_CzasPowtorki->text();
    draft.message = cb_Komunikat->currentText();
    draft.caption = cb_Caption->currentText();
    draft.soundField = fne_PlikWAV->text();
    draft.programField = fne_PlikEXE->text();
    draft.fileField = fne_Plik->text();
    draft.folderField = de_Foldery->text();
    draft.webPage = e_WWW->text();
    draft.shutdownShown = cb_ZamknijSystem->currentText();
    draft.subActionShown = cb_InneOpcje->currentText();
    draft.clickPoint = QPoint(se_Inne_X_DC->value(), se_Inne_Y_DC->value());
    draft.keyText = cb_Klawisze->currentText();
    draft.cdDrive = cb_Inne_DyskCD->currentText();
    draft.cdOperation = cd_Inne_DyskCD_WsWy->currentText();
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
    ib_Stop->move(ib_Start->pos());
    alarm.storeStart(m_storeFile);
    lockWhileArmed(alarm, true);
    alarm.fill(m_host.alarm());
    m_host.startTick();
    close();
}

void SetupWindow::lockWhileArmed(const AlarmDraft &alarm, bool locked)
{
    enable({cb_Typ_Alarmu, rb_ur_o_godz, sb_ur_alarm_o, se_ur_o_godz_godz, se_ur_o_godz_min,
            se_ur_o_godz_sec, rb_ur_po_czasie, sb_ur_alarm_za, se_ur_po_czasie_godz,
            se_ur_po_czasie_min, se_ur_po_czasie_sec, Label1, Label2, cb_PowtorzAkcje,
            e_CzasPowtorki, Label13},
           !locked);
    enable(alarm.lockedWhileArmed(), !locked);
    if (!locked) { // the timing rules of the editable window
        rb_ur_o_godzClick();
        const KindRow *row = alarm.row();
        cb_PowtorzAkcje->setEnabled(!row || row->canRepeat);
        cb_PowtorzAkcjeClick();
    }
    if (alarm.kind == kinds::PlaySound)
        lockSoundPanel(locked);
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
    ib_Stop->move(-40, -40);
}

} // namespace tockwell
