#pragma once

#include "sound/SoundBackend.h"

#include <QString>

#include <memory>

namespace tockwell::platform {

/// The sound back end's library (tockwell-sound.so), opened at the first sound: a start that
/// plays nothing does not load GStreamer, PulseAudio or ALSA. Once opened it stays loaded to the
/// end of the program (GStreamer cannot be unloaded).
class SoundLibrary
{
public:
    /// The library at `file`; by default the one next to the program.
    explicit SoundLibrary(QString file = besideProgram());
    ~SoundLibrary();
    SoundLibrary(const SoundLibrary &) = delete;
    SoundLibrary &operator=(const SoundLibrary &) = delete;

    /// The back end, the library opened on the first call; nullptr when it cannot be (error()
    /// tells why; a later call does not try again).
    sound::Backend *backend();
    QString error() const { return m_error; }

    /// tockwell-sound.so in the program's folder.
    static QString besideProgram();

private:
    const QString m_file;
    bool m_tried = false;
    std::unique_ptr<sound::Backend> m_backend;
    QString m_error;
};

} // namespace tockwell::platform
