// "Podgląd": the composed action at once, from the window's fields, without arming anything.
#include "AlarmDraft.h"
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
    preview();
}

void SetupWindow::preview()
{
    const ArmedAlarm &options = m_host.alarm();
    if (options.MinimizeProg)
        close();
    Actions actions(m_platform, m_host.actionWindows());
    PreviewHooks hooks;
    hooks.playBeep = options.PlayBeep;
    hooks.confirmSuspension = [this](QStringView subAction) {
        return confirmInputSuspension(subAction);
    };
    hooks.beforeKeys = [this] {
        // The keys go to the window that has the focus, here this one. Without a control to
        // hold the focus they reach the window as a whole: they cannot edit a field, and Space
        // cannot press "Podgląd" again (which would preview it over and over).
        if (focusWidget())
            focusWidget()->clearFocus();
    };
    hooks.suspended = [this] { m_previewInputBack->start(); };
    draft().preview(actions, hooks);
}

bool SetupWindow::confirmInputSuspension(QStringView subAction)
{
    using namespace platform::mb;
    return m_platform.dialogs().messageBox(inputSuspensionQuestion(subAction), u"UWAGA !!!"_qs,
                                           YesNo | IconQuestion) == platform::Answer::Yes;
}

} // namespace tockwell
