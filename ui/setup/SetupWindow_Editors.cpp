// The parameter editors: each checks its field on every change and enables Start and Preview
// only while the parameter is valid.
#include "FileNameEdit.h"
#include "SetupWindow.h"
#include "ShownTexts.h"
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
    setActionButtons(!cb_Komunikat->currentText().isEmpty() &&
                     !cb_Caption->currentText().isEmpty());
}

void SetupWindow::cb_ZamknijSystemChange()
{
    const QString text = chosenShutdown();
    ib_Start->setEnabled(std::find(shutdowns::All.begin(), shutdowns::All.end(), text) !=
                         shutdowns::All.end());
}

void SetupWindow::fne_PlikEXEChange()
{
    const QString file = fileNameOfFieldText(fne_PlikEXE->text());
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile()) {
        setActionButtons(false);
        return;
    }
    // A program on this desktop is an executable file; ".exe" files are programs too.
    if (info.isExecutable() || Actions::fileExtension(file).toUpper() == u".EXE"_qs) {
        setActionButtons(true);
        return;
    }
    m_platform.dialogs().messageBox(
        u"Wybrany format pliku jest niepoprawny.\rWybierz inny plik lub "
        "upewnij się, czy wybrany plik ma rozszerzenie typu EXE"_qs,
        QString::fromUtf16(AppTitle), platform::mb::Ok);
}

void SetupWindow::fne_PlikChange()
{
    const QString file = fileNameOfFieldText(fne_Plik->text());
    setActionButtons(!file.isEmpty() && QFileInfo(file).isFile());
}

void SetupWindow::de_FolderyChange()
{
    const QString folder = de_Foldery->text();
    setActionButtons(!folder.isEmpty() && QFileInfo(folder).isDir());
}

void SetupWindow::e_WWWChange()
{
    const QString address = e_WWW->text();
    setActionButtons(!address.isEmpty() && address.contains(u"www."_qs));
}

} // namespace tockwell
