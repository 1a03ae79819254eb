// Start arms the alarm from the window's fields; Stop disarms it and gives the window back.
#include "FileNameEdit.h"
#include "SetupHost.h"
#include "SetupWindow.h"
#include "core/ArmedAlarm.h"
#include "core/Error.h"
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

QString key(QStringView name)
{
    return name.toString();
}

} // namespace

void SetupWindow::ib_StartClick()
{
    const bool countdown = rb_ur_po_czasie->isChecked();
    const int hours = fieldValue(se_ur_po_czasie_godz);
    const int minutes = fieldValue(se_ur_po_czasie_min);
    const int seconds = fieldValue(se_ur_po_czasie_sec);
    if (countdown && !countdownTotal(hours, minutes, seconds)) {
        const bool tooLong = qint64(hours) * 3600 + qint64(minutes) * 60 + seconds > 0;
        const QString text = tooLong
                                 ? u"Odliczany czas jest zbyt długi. Najdłuższy możliwy czas to "
                                   "596523:14:7 (2147483647 sekund)."_qs
                                 : u"Odliczany czas musi być większy od 0"_qs;
        m_platform.dialogs().messageBox(text, u"BŁĄD !!!"_qs,
                                        platform::mb::Ok | platform::mb::IconError);
        return;
    }
    ib_Stop->move(ib_Start->pos());
    const bool repeatWasEnabled = cb_PowtorzAkcje->isChecked() && cb_PowtorzAkcje->isEnabled();
    storeStartValues();
    enable({cb_Typ_Alarmu, rb_ur_o_godz, sb_ur_alarm_o, se_ur_o_godz_godz, se_ur_o_godz_min,
            se_ur_o_godz_sec, rb_ur_po_czasie, sb_ur_alarm_za, se_ur_po_czasie_godz,
            se_ur_po_czasie_min, se_ur_po_czasie_sec, Label1, Label2, cb_PowtorzAkcje,
            e_CzasPowtorki, Label13},
           false);
    fillArmedAlarm(repeatWasEnabled);
    m_host.startTick();
    close();
}

void SetupWindow::storeStartValues()
{
    writeStartSettings(m_storeFile, !rb_ur_o_godz->isChecked(), cb_PowtorzAkcje->isChecked(),
                       e_CzasPowtorki->text(), cb_Typ_Alarmu->currentText());
    rememberEntry(m_storeFile, keys::O_MRU,
                  timeEntryText(fieldValue(se_ur_o_godz_godz), fieldValue(se_ur_o_godz_min),
                                fieldValue(se_ur_o_godz_sec)));
    rememberEntry(m_storeFile, keys::ZA_MRU,
                  timeEntryText(fieldValue(se_ur_po_czasie_godz), fieldValue(se_ur_po_czasie_min),
                                fieldValue(se_ur_po_czasie_sec)));
    disableForKind();
}

void SetupWindow::disableForKind()
{
    const QString kind = cb_Typ_Alarmu->currentText();
    if (kind == kinds::DefaultWindow) {
        enable({cb_Podglad}, false);
    } else if (kind == kinds::Message) {
        rememberEntry(m_storeFile, keys::Kom_Text_MRU, cb_Komunikat->currentText());
        rememberEntry(m_storeFile, keys::Kom_Caption_MRU, cb_Caption->currentText());
        enable({Label4, cb_Komunikat, Label5, cb_Caption, cb_Podglad}, false);
    } else if (kind == kinds::PlaySound) {
        rememberEntry(m_storeFile, keys::Sound_MRU, fileNameOfFieldText(fne_PlikWAV->text()));
        enable({Label6, fne_PlikWAV, sb_ListaPlikowWAV, Label128, LabelCzas, Play, Pause, Stop,
                LoopCheckBox},
               false);
        if (Play->isChecked())
            stopTestPlayback();
    } else if (kind == kinds::Shutdown) {
        Store base(m_storeFile);
        base.openKey(keys::Base.toString());
        base.writeString(key(keys::cb_Reboot), chosenShutdown());
        enable({Label7, cb_ZamknijSystem}, false);
    } else if (kind == kinds::RunProgram) {
        rememberEntry(m_storeFile, keys::EXE_MRU, fileNameOfFieldText(fne_PlikEXE->text()));
        enable({Label8, fne_PlikEXE, sb_ListaPlikowEXE, cb_Podglad}, false);
    } else if (kind == kinds::OpenFile) {
        rememberEntry(m_storeFile, keys::Pliki_MRU, fileNameOfFieldText(fne_Plik->text()));
        enable({Label9, fne_Plik, sb_ListaPlikow, cb_Podglad}, false);
    } else if (kind == kinds::OpenFolder) {
        rememberEntry(m_storeFile, keys::Foldery_MRU, de_Foldery->text());
        enable({Label10, de_Foldery, sb_ListaFolderow, cb_Podglad}, false);
    } else if (kind == kinds::OpenWebPage) {
        rememberEntry(m_storeFile, keys::WWW_MRU, e_WWW->text());
        enable({Label11, e_WWW, sb_ListaWWW, cb_Podglad}, false);
    } else if (kind == kinds::Other) {
        storeOtherAction();
    }
}

void SetupWindow::storeOtherAction()
{
    const QString subAction = chosenSubAction();
    {
        Store base(m_storeFile);
        base.openKey(keys::Base.toString());
        base.writeString(key(keys::cb_Inne), subAction);
    }
    enable({Label12, cb_InneOpcje, cb_Podglad}, false);
    Store inne(m_storeFile);
    inne.openKey(keys::under(keys::Inne_MRU));
    if (subAction == others::DoubleClick || subAction == others::SingleClick) {
        const bool twice = subAction == others::DoubleClick;
        inne.writeInteger(key(twice ? keys::x_DoubleClick : keys::x_SingleClick),
                          se_Inne_X_DC->value());
        inne.writeInteger(key(twice ? keys::y_DoubleClick : keys::y_SingleClick),
                          se_Inne_Y_DC->value());
        setOtherSubActionEnabled(false);
    } else if (subAction == others::PressKey) {
        inne.writeString(key(keys::Klawisz), cb_Klawisze->currentText());
        setOtherSubActionEnabled(false);
    } else if (subAction == others::CdTray) {
        inne.writeString(key(keys::Dysk_CD), cb_Inne_DyskCD->currentText());
        inne.writeString(key(keys::Dysk_CD_Ws_Wy), cd_Inne_DyskCD_WsWy->currentText());
        setOtherSubActionEnabled(false);
    }
}

void SetupWindow::setOtherSubActionEnabled(bool enabled)
{
    const QString subAction = chosenSubAction();
    if (subAction == others::DoubleClick || subAction == others::SingleClick)
        enable({Label16, se_Inne_X_DC, se_Inne_Y_DC, Label17, SpeedButton1}, enabled);
    else if (subAction == others::PressKey)
        enable({Label14, cb_Klawisze}, enabled);
    else if (subAction == others::CdTray)
        enable({Label18, Label19, cb_Inne_DyskCD, cd_Inne_DyskCD_WsWy}, enabled);
}

void SetupWindow::fillArmedAlarm(bool repeatWasEnabled)
{
    ArmedAlarm &alarm = m_host.alarm();
    if (rb_ur_o_godz->isChecked()) {
        alarm.Mode = ModeClock.toString();
        alarm.Hour = fieldValue(se_ur_o_godz_godz);
        alarm.Minute = fieldValue(se_ur_o_godz_min);
        alarm.Second = fieldValue(se_ur_o_godz_sec);
        alarm.CountdownLeft = 0;
    } else if (rb_ur_po_czasie->isChecked()) {
        alarm.Mode = ModeCountdown.toString();
        alarm.Hour = fieldValue(se_ur_po_czasie_godz);
        alarm.Minute = fieldValue(se_ur_po_czasie_min);
        alarm.Second = fieldValue(se_ur_po_czasie_sec);
        alarm.CountdownLeft = countdownTotal(alarm.Hour, alarm.Minute, alarm.Second).value_or(0);
    }
    const QString kind = cb_Typ_Alarmu->currentText();
    alarm.ActionKind = kind;
    if (kind == kinds::DefaultWindow)
        alarm.MainParam.clear();
    else if (kind == kinds::Message)
        alarm.MainParam = joinMessageParam(cb_Caption->currentText(), cb_Komunikat->currentText());
    else if (kind == kinds::PlaySound)
        alarm.MainParam = fileNameOfFieldText(fne_PlikWAV->text());
    else if (kind == kinds::OpenFolder)
        alarm.MainParam = de_Foldery->text();
    else if (kind == kinds::OpenFile)
        alarm.MainParam = fileNameOfFieldText(fne_Plik->text());
    else if (kind == kinds::RunProgram)
        alarm.MainParam = fileNameOfFieldText(fne_PlikEXE->text());
    else if (kind == kinds::OpenWebPage)
        alarm.MainParam = e_WWW->text();
    else if (kind == kinds::Shutdown)
        alarm.MainParam = chosenShutdown();
    else if (kind == kinds::Other)
        alarm.MainParam = chosenSubAction();

    const QString subAction = chosenSubAction();
    if (subAction == others::DoubleClick || subAction == others::SingleClick)
        alarm.SecondParam = clickPointParam(se_Inne_X_DC->value(), se_Inne_Y_DC->value());
    else if (subAction == others::CdTray)
        alarm.SecondParam =
            cdTrayParam(cb_Inne_DyskCD->currentText(), cd_Inne_DyskCD_WsWy->currentText())
                .value_or(alarm.SecondParam);
    else if (subAction == others::PressKey)
        alarm.SecondParam = cb_Klawisze->currentText();

    alarm.RepeatSeconds = repeatWasEnabled ? StrToInt(e_CzasPowtorki->text()) : 0;
}

void SetupWindow::stopByUser()
{
    m_platform.input().resumeInput();
    ib_StopClick();
}

void SetupWindow::ib_StopClick()
{
    m_host.stopTick();
    enable({rb_ur_o_godz, rb_ur_po_czasie}, true);
    rb_ur_o_godzClick();
    const QString kind = cb_Typ_Alarmu->currentText();
    if (kind.compare(kinds::Shutdown, Qt::CaseInsensitive) != 0 &&
        kind.compare(kinds::DefaultWindow, Qt::CaseInsensitive) != 0)
        cb_PowtorzAkcje->setEnabled(true);
    cb_PowtorzAkcjeClick();
    enable({cb_Typ_Alarmu, Label13}, true);
    enableForKind();
    ib_Stop->move(-40, -40);
}

void SetupWindow::enableForKind()
{
    const QString kind = cb_Typ_Alarmu->currentText();
    if (kind == kinds::DefaultWindow) {
        enable({cb_Podglad}, true);
    } else if (kind == kinds::Message) {
        enable({Label4, cb_Komunikat, Label5, cb_Caption, cb_Podglad}, true);
    } else if (kind == kinds::PlaySound) {
        enable({Label6, fne_PlikWAV, sb_ListaPlikowWAV, Label128, LabelCzas, Play, Pause, Stop,
                LoopCheckBox},
               true);
        if (Stop->isChecked())
            stopTestPlayback();
    } else if (kind == kinds::Shutdown) {
        enable({Label7, cb_ZamknijSystem}, true);
    } else if (kind == kinds::RunProgram) {
        enable({Label8, fne_PlikEXE, sb_ListaPlikowEXE, cb_Podglad}, true);
    } else if (kind == kinds::OpenFile) {
        enable({Label9, fne_Plik, sb_ListaPlikow, cb_Podglad}, true);
    } else if (kind == kinds::OpenFolder) {
        enable({Label10, de_Foldery, sb_ListaFolderow, cb_Podglad}, true);
    } else if (kind == kinds::OpenWebPage) {
        enable({Label11, e_WWW, sb_ListaWWW, cb_Podglad}, true);
    } else if (kind == kinds::Other) {
        enable({Label12, cb_InneOpcje, cb_Podglad}, true);
        setOtherSubActionEnabled(true);
    }
}

} // namespace tockwell
