#include "Executor.h"

#include "AlarmHost.h"
#include "core/ArmedAlarm.h"
#include "platform/Dialogs.h"

namespace tockwell {

void Executor::WykonajAkcje()
{
    preAlarmSteps();
    runAction();
    afterFiring();
}

void Executor::preAlarmSteps()
{
    if (m_alarm.Wyg_Off)
        m_actions.wakeScreenSaver();
    if (m_alarm.MinimizeAll)
        m_actions.minimizeAllWindows();
    if (m_alarm.MinimizeProg)
        m_actions.hideSetupWindow();
}

void Executor::runAction()
{
    const QString &kind = m_alarm.ActionKind;
    if (kind == kinds::DefaultWindow) {
        m_actions.showAlarmPopup(m_alarm.PlayBeep);
    } else if (kind == kinds::Message) {
        const auto [title, text] = splitMessageParam(m_alarm.MainParam);
        using namespace platform::mb;
        m_actions.showMessage(title, text, Ok | IconExclamation | Topmost);
    } else if (kind == kinds::PlaySound) {
        m_actions.playSound(m_alarm.MainParam);
    } else if (kind == kinds::Shutdown) {
        m_actions.shutdown(m_alarm.MainParam);
    } else if (kind == kinds::RunProgram || kind == kinds::OpenFile || kind == kinds::OpenFolder ||
               kind == kinds::OpenWebPage) {
        m_actions.open(m_alarm.MainParam);
    } else if (kind == kinds::Other) {
        const QString second = m_alarm.SecondParam;
        m_actions.other(m_alarm.MainParam, OtherArgs{[second] { return parseClickPoint(second); },
                                                     parseCdTrayParam(second), second});
    }
}

void Executor::afterFiring()
{
    if (m_alarm.RepeatSeconds == 0)
        m_host.disarm();
    else if (m_alarm.Mode == ModeCountdown)
        m_alarm.CountdownLeft = m_alarm.RepeatSeconds;
}

} // namespace tockwell
