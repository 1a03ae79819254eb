#pragma once

#include "../Platform.h"

#include <memory>

namespace tockwell::platform {

/// The platform of the Linux desktop.
std::unique_ptr<Platform> makeLinuxPlatform();

} // namespace tockwell::platform
