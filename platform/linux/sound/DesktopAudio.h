#pragma once

#include "platform/Audio.h"

#include <chrono>
#include <memory>

namespace tockwell::platform::sound {

/// Sound output of a Linux desktop: the volume of the default output through the sound server
/// (PulseAudio or PipeWire) or the ALSA mixer, and a short beep through GStreamer.
class DesktopAudio final : public Audio
{
public:
    DesktopAudio();
    ~DesktopAudio() override;

    void maximiseVolume() override;
    void beep() override;

private:
    class Beeper;
    std::unique_ptr<Beeper> m_beeper;
};

/// Sets the sound server's default output to 100 % on every channel; false when there is no
/// server or it did not answer within `timeout`.
bool maximisePulseVolume(std::chrono::milliseconds timeout);

/// Sets the "Master" and "PCM" playback controls of ALSA's default mixer to their maximum; false
/// when there is no such mixer.
bool maximiseAlsaVolume();

} // namespace tockwell::platform::sound
