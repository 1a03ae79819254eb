#include "LinuxMediaPlayer.h"

#include "SoundLibrary.h"

namespace tockwell::platform {

LinuxMediaPlayer::LinuxMediaPlayer(std::shared_ptr<SoundLibrary> library, QString sink)
    : m_library(std::move(library)), m_sink(std::move(sink))
{}

LinuxMediaPlayer::~LinuxMediaPlayer() = default;

std::optional<QString> LinuxMediaPlayer::openDevice(const QString &fileName)
{
    ++m_run;
    sound::Backend *backend = m_library->backend();
    if (!backend)
        return m_library->error();
    auto playback = backend->makePlayback(m_sink, [this](bool failed) { playbackEnded(failed); });
    if (std::optional<QString> failed = playback->open(fileName))
        return failed;
    m_playback = std::move(playback);
    return std::nullopt;
}

void LinuxMediaPlayer::closeDevice()
{
    ++m_run;
    m_playback.reset();
}

qint64 LinuxMediaPlayer::deviceLength()
{
    return m_playback ? m_playback->length() : 0;
}

bool LinuxMediaPlayer::playDevice(bool fromStart)
{
    ++m_run;
    return m_playback && m_playback->play(fromStart);
}

bool LinuxMediaPlayer::pauseDevice()
{
    return m_playback && m_playback->pause();
}

bool LinuxMediaPlayer::resumeDevice()
{
    return m_playback && m_playback->resume();
}

bool LinuxMediaPlayer::stopDevice()
{
    ++m_run;
    return m_playback && m_playback->pause();
}

void LinuxMediaPlayer::playbackEnded(bool failed)
{
    const unsigned run = m_run.load();
    QMetaObject::invokeMethod(
        this, [this, failed, run] { ended(failed, run); }, Qt::QueuedConnection);
}

void LinuxMediaPlayer::ended(bool failed, unsigned run)
{
    if (!m_playback || run != m_run.load())
        return;
    m_playback->rest();
    deviceEnded(failed);
}

} // namespace tockwell::platform
