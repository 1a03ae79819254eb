#include "Application.h"

namespace tockwell {

Application::Application(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                         const SeedingPaths &paths)
    : F_Glowna(platform, storeFile, clock, paths),
      F_Alarm(platform, storeFile, clock, F_Glowna, paths.programDir),
      F_About([&platform, this, dir = paths.programDir] {
          return std::make_unique<AboutWindow>(platform, F_Alarm, AboutSettings::forProgram(dir));
      }),
      F_Opcje([&platform, &storeFile, this, file = paths.programFile] {
          return std::make_unique<OptionsDialog>(platform, storeFile, F_Glowna.alarm(), F_Alarm,
                                                 file);
      }),
      F_ALARMUJ([&platform, this] { return std::make_unique<AlarmPopup>(F_Alarm, platform); })
{
    F_Glowna.setForms({&F_Alarm, &F_About, &F_Opcje, &F_ALARMUJ});
}

} // namespace tockwell
