// The parameter editors: each checks its field on every change and enables Start and Preview
// only while the parameter is valid.
#include "AlarmDraft.h"
#include "FileNameEdit.h"
#include "SetupWindow.h"
#include "ShownTexts.h"
#include "WideListComboBox.h"
#include "core/ArmedAlarm.h"
#include "engine/Actions.h"
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
    m_previewButton->setEnabled(enabled);
    m_startButton->setEnabled(enabled);
}

QString SetupWindow::chosenShutdown() const
{
    return storedText(m_shutdownBox->currentText());
}

QString SetupWindow::chosenSubAction() const
{
    return storedText(m_subActionBox->currentText());
}

void SetupWindow::cb_KomunikatChange()
{
    setActionButtons(
        AlarmDraft::isMessageValid(m_messageTextBox->currentText(), m_captionBox->currentText()));
}

void SetupWindow::cb_ZamknijSystemChange()
{
    m_startButton->setEnabled(AlarmDraft::isShutdownValid(chosenShutdown()));
}

void SetupWindow::fne_PlikEXEChange()
{
    switch (AlarmDraft::checkProgram(m_programField->text())) {
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
    setActionButtons(AlarmDraft::isFileValid(m_fileField->text()));
}

void SetupWindow::de_FolderyChange()
{
    setActionButtons(AlarmDraft::isFolderValid(m_folderField->text()));
}

void SetupWindow::e_WWWChange()
{
    setActionButtons(AlarmDraft::isWebPageValid(m_webPageField->text()));
}

} // namespace tockwell
