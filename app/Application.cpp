#include "Application.h"

#include "AlarmSlot.h"

namespace tockwell {

Application::Application(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                         const SeedingPaths &paths)
    : controller(platform, storeFile, clock, paths),
      setup(platform, storeFile, clock, controller.firstAlarm(), paths.programDir),
      about([&platform, this, dir = paths.programDir] {
          return std::make_unique<AboutWindow>(platform, setup, AboutSettings::forProgram(dir));
      }),
      options([&platform, &storeFile, this, file = paths.programFile] {
          return std::make_unique<OptionsDialog>(platform, storeFile, controller.options(), setup,
                                                 file);
      }),
      popup([&platform, this] { return std::make_unique<AlarmPopup>(setup, platform); })
{
    controller.setForms({&setup, &about, &options, &popup});
}

} // namespace tockwell
