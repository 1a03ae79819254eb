#pragma once

// The narrow interface between the program and its sound back end, which lives in a library of
// its own (tockwell-sound.so, next to the program) so that GStreamer, PulseAudio and ALSA are
// loaded with the first sound rather than at every start. Both sides are built together; the
// version guards against a library left over from another build.

#include "platform/Audio.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace tockwell::platform::sound {

/// Bumped whenever a class below changes.
constexpr int InterfaceVersion = 1;

/// The library's one exported function: `Backend *tockwell_sound_backend(int version)`, a new
/// back end owned by the caller, or nullptr when `version` is not the library's.
constexpr const char *EntryPoint = "tockwell_sound_backend";

/// One sound file in the back end's player. Opened or played to the end it rests, which gives
/// back the sound output; stopped or paused in the middle it holds its place.
class Playback
{
public:
    Playback() = default;
    Playback(const Playback &) = delete;
    Playback &operator=(const Playback &) = delete;
    virtual ~Playback() = default;

    /// Opens `fileName` and waits until its start is decoded; the error text on failure.
    virtual std::optional<QString> open(const QString &fileName) = 0;
    /// The length in milliseconds; 0 when unknown.
    virtual qint64 length() const = 0;
    /// Plays on from where it stands, or from the start.
    virtual bool play(bool fromStart) = 0;
    /// Pauses (also what a stop in the middle does).
    virtual bool pause() = 0;
    virtual bool resume() = 0;
    /// Gives back the sound output; the next play starts from the beginning.
    virtual void rest() = 0;
};

/// Called on any thread when the playing sound has reached its end (`failed` false) or failed.
using EndHandler = std::function<void(bool failed)>;

class Backend
{
public:
    Backend() = default;
    Backend(const Backend &) = delete;
    Backend &operator=(const Backend &) = delete;
    virtual ~Backend() = default;

    /// Volume and beep of the desktop's default output.
    virtual std::unique_ptr<Audio> makeAudio() = 0;
    /// A player for one file; `sink` describes the output (empty: the desktop's default).
    virtual std::unique_ptr<Playback> makePlayback(const QString &sink, EndHandler ended) = 0;
};

} // namespace tockwell::platform::sound
