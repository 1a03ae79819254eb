#pragma once

#include "../Platform.h"

#include <memory>

namespace tockwell::platform {

/// The platform of the running program: the Linux desktop, or, when the environment variable
/// TOCKWELL_PLATFORM is "record:FILE" (for tests), the recording platform appending to FILE.
std::unique_ptr<Platform> loadPlatform();

} // namespace tockwell::platform
