#include "Application.h"

namespace tockwell {

Application::Application(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                         const SeedingPaths &paths)
    : F_Glowna(platform, storeFile, clock, paths),
      F_Alarm(platform, storeFile, clock, F_Glowna, paths.programDir),
      F_About(platform, F_Alarm, AboutSettings::forProgram(paths.programDir)),
      F_Opcje(platform, storeFile, F_Glowna.alarm(), F_Alarm, paths.programFile),
      F_ALARMUJ(F_Alarm, platform)
{
    F_Glowna.setForms({&F_Alarm, &F_About, &F_Opcje, &F_ALARMUJ});
}

} // namespace tockwell
