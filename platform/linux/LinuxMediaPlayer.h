#pragma once

#include "../MediaPlayer.h"

#include <atomic>
#include <memory>

namespace tockwell::platform {

class SoundLibrary;
namespace sound {
class Playback;
}

/// The media player over the sound library's GStreamer `playbin`. The library, and GStreamer
/// with it, is loaded with the first open, so that a program that never plays a sound does not
/// pay for it. The end of a play is handed to the interface thread, so nothing polls.
class LinuxMediaPlayer final : public MediaPlayer
{
public:
    /// `sink` is a GStreamer description of the audio output, such as "fakeaudiosink
    /// sync=true" for tests; empty: the desktop's default output (`autoaudiosink`).
    explicit LinuxMediaPlayer(std::shared_ptr<SoundLibrary> library, QString sink = QString());
    ~LinuxMediaPlayer() override;

protected:
    std::optional<QString> openDevice(const QString &fileName) override;
    void closeDevice() override;
    qint64 deviceLength() override;
    bool playDevice(bool fromStart) override;
    bool pauseDevice() override;
    bool resumeDevice() override;
    bool stopDevice() override;

private:
    /// Reported on any thread by the playback: hands the end to the interface thread.
    void playbackEnded(bool failed);
    /// Handles an end on the interface thread; `run` tells stale ones apart.
    void ended(bool failed, unsigned run);

    std::shared_ptr<SoundLibrary> m_library;
    QString m_sink;
    std::unique_ptr<sound::Playback> m_playback;
    /// Counts the device's starts and stops: an end reported before the latest one belongs to
    /// an earlier play.
    std::atomic<unsigned> m_run{0};
};

} // namespace tockwell::platform
