#include "Application.h"

namespace tockwell {

Application::Application(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                         const SeedingPaths &paths)
    : controller(platform, storeFile, clock, paths),
      setup(platform, storeFile, clock, controller, paths.programDir),
      about(platform, setup, AboutSettings::forProgram(paths.programDir)),
      options(platform, storeFile, controller.alarm(), setup, paths.programFile),
      popup(setup, platform)
{
    controller.setForms({&setup, &about, &options, &popup});
}

} // namespace tockwell
