#pragma once

#include "../Platform.h"
#include "Recorder.h"

#include <QRect>

#include <functional>
#include <memory>

namespace tockwell::platform {

/// A platform that performs nothing: each call becomes one line of `recorder`, and calls that
/// return something answer what the test scripted, or a harmless default (see docs/platform.md).
/// `workArea`, where given, is the default work area (the real desktop's, when the program runs
/// recorded); else the primary screen's available geometry.
std::unique_ptr<Platform> makeRecordingPlatform(std::shared_ptr<Recorder> recorder,
                                                std::function<QRect()> workArea = {});

} // namespace tockwell::platform
