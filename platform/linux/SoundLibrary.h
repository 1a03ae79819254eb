#pragma once

#include "../LibraryBackend.h"
#include "sound/SoundBackend.h"

namespace tockwell::platform {

/// The sound back end's library (tockwell-sound.so), opened at the first sound: a start that
/// plays nothing does not load GStreamer, PulseAudio or ALSA (GStreamer is never unloaded).
class SoundLibrary final : public LibraryBackend<sound::Backend>
{
public:
    /// The library at `file`; by default the one next to the program.
    explicit SoundLibrary(QString file = besideProgram(u"tockwell-sound.so"_qs))
        : LibraryBackend(std::move(file), sound::EntryPoint, sound::InterfaceVersion)
    {}
};

} // namespace tockwell::platform
