#pragma once

namespace tockwell::platform {

/// Sound output besides the media player.
class Audio
{
public:
    Audio() = default;
    Audio(const Audio &) = delete;
    Audio &operator=(const Audio &) = delete;
    virtual ~Audio() = default;

    /// Sets both channels of the default output to full volume.
    virtual void maximiseVolume() = 0;

    /// Plays the default system sound once; returns at once.
    virtual void beep() = 0;
};

} // namespace tockwell::platform
