#pragma once

#include "../Audio.h"

#include <memory>

namespace tockwell::platform {

class SoundLibrary;

/// Sound output of a Linux desktop: the volume of the default output through the sound server
/// (PulseAudio or PipeWire) or the ALSA mixer, and a short beep through GStreamer. All of it
/// lives in the sound library, opened with the first call; without it the volume stays as it is
/// and the beep is the X bell.
class LinuxAudio final : public Audio
{
public:
    explicit LinuxAudio(std::shared_ptr<SoundLibrary> library);
    ~LinuxAudio() override;

    void maximiseVolume() override;
    void beep() override;

private:
    /// The back end's audio, made at the first call; nullptr without the library.
    Audio *audio();

    std::shared_ptr<SoundLibrary> m_library;
    bool m_made = false;
    std::unique_ptr<Audio> m_audio;
};

} // namespace tockwell::platform
