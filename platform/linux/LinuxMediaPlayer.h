#pragma once

#include "../MediaPlayer.h"

#include <atomic>
#include <memory>

namespace tockwell::platform {

/// The media player over a GStreamer `playbin`. GStreamer is loaded with the first open, so
/// that a program that never plays a sound does not pay for it. The bus is read through a
/// synchronous handler that hands each message to the interface thread, so nothing polls.
class LinuxMediaPlayer final : public MediaPlayer
{
public:
    /// `sink` is a GStreamer description of the audio output, such as "fakeaudiosink
    /// sync=true" for tests; empty: the desktop's default output (`autoaudiosink`).
    explicit LinuxMediaPlayer(QString sink = QString());
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
    class Pipeline;
    /// Handles a bus message on the interface thread; `run` tells stale ones apart.
    void busMessage(int type, unsigned run);

    QString m_sink;
    std::unique_ptr<Pipeline> m_pipeline;
    /// Counts the device's starts and stops: an end of stream posted before the latest one
    /// belongs to an earlier play.
    std::atomic<unsigned> m_run{0};
};

} // namespace tockwell::platform
