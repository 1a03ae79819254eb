// "Podgląd": the composed action at once, from the window's fields, without arming anything.
#include "FileNameEdit.h"
#include "OtherActionTexts.h"
#include "SetupHost.h"
#include "SetupWindow.h"
#include "core/ArmedAlarm.h"
#include "engine/Actions.h"
#include "platform/Platform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace tockwell {

void SetupWindow::cb_PodgladClick()
{
    const ArmedAlarm &options = m_host.alarm();
    if (options.MinimizeProg)
        close();
    Actions actions(m_platform, m_host.actionWindows());
    const QString kind = cb_Typ_Alarmu->currentText();
    if (kind == kinds::DefaultWindow) {
        actions.showAlarmPopup(options.PlayBeep);
    } else if (kind == kinds::Message) {
        // Unlike the alarm's message, the preview's box is not kept above other windows.
        using namespace platform::mb;
        actions.showMessage(cb_Caption->currentText(), cb_Komunikat->currentText(),
                            Ok | IconExclamation);
    } else if (kind == kinds::RunProgram) {
        actions.open(fne_PlikEXE->text());
    } else if (kind == kinds::OpenFile) {
        actions.open(fne_Plik->text());
    } else if (kind == kinds::OpenFolder) {
        actions.open(de_Foldery->text());
    } else if (kind == kinds::OpenWebPage) {
        actions.open(e_WWW->text());
    } else if (kind == kinds::Other) {
        previewOtherAction(actions);
    }
}

void SetupWindow::previewOtherAction(Actions &actions)
{
    const QString subAction = chosenSubAction();
    CdTrayRequest cdTray{cb_Inne_DyskCD->currentText(), QString()};
    if (subAction == others::CdTray) {
        const QString operation = cd_Inne_DyskCD_WsWy->currentText().toUpper();
        if (operation == u"WYSUŃ"_qs)
            cdTray.operation = u"1"_qs;
        else if (operation == u"WSUŃ"_qs)
            cdTray.operation = u"0"_qs;
        else
            return; // neither opens nor closes: nothing to show
    }
    const bool suspendsInput = !inputSuspensionQuestion(subAction).isEmpty();
    if (suspendsInput && !confirmInputSuspension(subAction))
        return;
    if (subAction == others::PressKey && focusWidget()) {
        // The keys go to the window that has the focus, here this one. Without a control to
        // hold the focus they reach the window as a whole: they cannot edit a field, and Space
        // cannot press "Podgląd" again (which would preview it over and over).
        focusWidget()->clearFocus();
    }
    const QPoint point(se_Inne_X_DC->value(), se_Inne_Y_DC->value());
    actions.other(subAction,
                  OtherArgs{[point] { return point; }, cdTray, cb_Klawisze->currentText()});
    if (suspendsInput)
        m_previewInputBack.start();
}

bool SetupWindow::confirmInputSuspension(QStringView subAction)
{
    using namespace platform::mb;
    return m_platform.dialogs().messageBox(inputSuspensionQuestion(subAction), u"UWAGA !!!"_qs,
                                           YesNo | IconQuestion) == platform::Answer::Yes;
}

} // namespace tockwell
