#pragma once

#include "../MediaPlayer.h"
#include "Recorder.h"

#include <memory>

namespace tockwell::platform {

/// The media player of the recording platform: it plays nothing, writes one line per device
/// operation, opens what the test scripts (a file opens unless "MediaOpen" is answered
/// "error TEXT") and plays until the test ends the play.
class RecordingMediaPlayer final : public MediaPlayer
{
public:
    explicit RecordingMediaPlayer(std::shared_ptr<Recorder> recorder);

    /// Ends the current play as the device would at the end of the sound, or with a failure.
    void finishPlaying() { deviceEnded(false); }
    void failPlaying() { deviceEnded(true); }

protected:
    std::optional<QString> openDevice(const QString &fileName) override;
    void closeDevice() override;
    qint64 deviceLength() override;
    bool playDevice(bool fromStart) override;
    bool pauseDevice() override;
    bool resumeDevice() override;
    bool stopDevice() override;

private:
    QString answer(const QString &operation, const QString &arguments, const QString &fallback);

    std::shared_ptr<Recorder> m_recorder;
};

} // namespace tockwell::platform
