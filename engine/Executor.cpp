#include "Executor.h"

#include "AlarmHost.h"
#include "core/ArmedAlarm.h"
#include "platform/Dialogs.h"

#include <array>

namespace tockwell {

void Executor::fire()
{
    preAlarmSteps();
    runAction();
    afterFiring();
}

void Executor::preAlarmSteps()
{
    if (m_options.ScreenSaverOff)
        m_actions.wakeScreenSaver();
    if (m_options.MinimizeAll)
        m_actions.minimizeAllWindows();
    if (m_options.MinimizeProg)
        m_actions.hideSetupWindow();
}

namespace {

using KindRun = void (*)(Actions &, const ArmedAlarm &alarm, const ArmedAlarm &options);

void openMainParam(Actions &actions, const ArmedAlarm &alarm, const ArmedAlarm &)
{
    actions.open(alarm.MainParam);
}

struct KindAction
{
    QStringView kind;
    KindRun run;
};

/// What each action kind does when the alarm fires; a kind not listed does nothing.
const std::array<KindAction, 9> KindActions = {{
    {.kind = kinds::DefaultWindow,
     .run = [](Actions &actions, const ArmedAlarm &,
               const ArmedAlarm &options) { actions.showAlarmPopup(options.PlayBeep); }},
    {.kind = kinds::Message,
     .run =
         [](Actions &actions, const ArmedAlarm &alarm, const ArmedAlarm &) {
             const auto [title, text] = splitMessageParam(alarm.MainParam);
             using namespace platform::mb;
             actions.showMessage(title, text, Ok | IconExclamation | Topmost);
         }},
    {.kind = kinds::PlaySound,
     .run = [](Actions &actions, const ArmedAlarm &alarm,
               const ArmedAlarm &) { actions.playSound(alarm.MainParam); }},
    {.kind = kinds::Shutdown,
     .run = [](Actions &actions, const ArmedAlarm &alarm,
               const ArmedAlarm &) { actions.shutdown(alarm.MainParam); }},
    {.kind = kinds::RunProgram, .run = openMainParam},
    {.kind = kinds::OpenFile, .run = openMainParam},
    {.kind = kinds::OpenFolder, .run = openMainParam},
    {.kind = kinds::OpenWebPage, .run = openMainParam},
    {.kind = kinds::Other,
     .run =
         [](Actions &actions, const ArmedAlarm &alarm, const ArmedAlarm &) {
             const QString second = alarm.SecondParam;
             actions.other(alarm.MainParam, OtherArgs{[second] { return parseClickPoint(second); },
                                                      parseCdTrayParam(second), second});
         }},
}};

} // namespace

void Executor::runAction()
{
    for (const KindAction &each : KindActions)
        if (each.kind == m_alarm.ActionKind)
            each.run(m_actions, m_alarm, m_options);
}

void Executor::afterFiring()
{
    if (m_alarm.RepeatSeconds == 0)
        m_host.disarm();
    else if (m_alarm.Mode == ModeCountdown)
        m_alarm.CountdownLeft = m_alarm.RepeatSeconds;
}

} // namespace tockwell
