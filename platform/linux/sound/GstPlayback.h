#pragma once

#include "SoundBackend.h"

namespace tockwell::platform::sound {

/// A player for one file over a GStreamer `playbin`, or, in a build without GStreamer, one that
/// opens nothing. `sink` is a GStreamer description of the output, such as "fakeaudiosink
/// sync=true" for tests; empty: `autoaudiosink`.
std::unique_ptr<Playback> makeGstPlayback(const QString &sink, EndHandler ended);

} // namespace tockwell::platform::sound
