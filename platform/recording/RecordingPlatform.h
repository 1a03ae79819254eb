#pragma once

#include "../Platform.h"
#include "Recorder.h"

#include <memory>

namespace tockwell::platform {

/// A platform that performs nothing: each call becomes one line of `recorder`, and calls that
/// return something answer what the test scripted, or a harmless default (see docs/platform.md).
std::unique_ptr<Platform> makeRecordingPlatform(std::shared_ptr<Recorder> recorder);

} // namespace tockwell::platform
