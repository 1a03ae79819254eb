#include "Application.h"

namespace tockwell {

Application::Application(platform::Platform &platform, const Clock &clock,
                         const QString &programDir)
    : F_Glowna(platform, clock, programDir), F_Alarm(platform, clock, F_Glowna, programDir),
      F_About(F_Alarm), F_Opcje(F_Alarm), F_ALARMUJ(F_Alarm)
{
    F_Glowna.setForms({&F_Alarm, &F_About, &F_Opcje, &F_ALARMUJ});
}

} // namespace tockwell
