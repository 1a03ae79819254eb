// The parameter editors: each checks its field on every change and enables Start and Preview
// only while the parameter is valid.
#include "AlarmDraft.h"
#include "FileNameEdit.h"
#include "SetupWindow.h"
#include "ShownTexts.h"
#include "engine/Actions.h"
#include "engine/ArmedAlarm.h"
#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "settings/RecentList.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace tockwell {

void SetupWindow::setActionButtons(bool enabled)
{
    cb_Podglad->setEnabled(enabled);
    ib_Start->setEnabled(enabled);
}

QString SetupWindow::chosenShutdown() const
{
    return storedText(cb_ZamknijSystem->currentText());
}

QString SetupWindow::chosenSubAction() const
{
    return storedText(cb_InneOpcje->currentText());
}

void SetupWindow::cb_KomunikatChange()
{
    setActionButtons(
        AlarmDraft::isMessageValid(cb_Komunikat->currentText(), cb_Caption->currentText()));
}

void SetupWindow::cb_ZamknijSystemChange()
{
    ib_Start->setEnabled(AlarmDraft::isShutdownValid(chosenShutdown()));
}

void SetupWindow::fne_PlikEXEChange()
{
    switch (AlarmDraft::checkProgram(fne_PlikEXE->text())) {
    case AlarmDraft::ProgramCheck::Valid:
        setActionButtons(true);
        break;
    case AlarmDraft::ProgramCheck::Missing:
        setActionButtons(false);
        break;
    case AlarmDraft::ProgramCheck::WrongFormat:
        m_platform.dialogs().messageBox(
            u"Wybrany format pliku jest niepoprawny.\rWybierz inny plik lub "
            "upewnij się, czy wybrany plik ma rozszerzenie typu EXE"_qs,
            QString::fromUtf16(AppTitle), platform::mb::Ok);
        break;
    }
}

void SetupWindow::fne_PlikChange()
{
    setActionButtons(AlarmDraft::isFileValid(fne_Plik->text()));
}

void SetupWindow::de_FolderyChange()
{
    setActionButtons(AlarmDraft::isFolderValid(de_Foldery->text()));
}

void SetupWindow::e_WWWChange()
{
    setActionButtons(AlarmDraft::isWebPageValid(e_WWW->text()));
}

} // namespace tockwell
