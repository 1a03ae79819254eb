#include "MediaPlayer.h"

namespace tockwell::platform {

std::optional<QString> MediaPlayer::open(const QString &fileName)
{
    close();
    std::optional<QString> error = openDevice(fileName);
    if (!error) {
        m_mode = MediaMode::Stopped;
        m_atEnd = false;
    }
    return error;
}

void MediaPlayer::close()
{
    if (!isOpen())
        return;
    endPlay(MediaNotification::Aborted);
    closeDevice();
    m_mode = MediaMode::NotOpen;
}

qint64 MediaPlayer::length()
{
    return isOpen() ? deviceLength() : 0;
}

void MediaPlayer::play(bool notify)
{
    if (!isOpen())
        return;
    if (notify)
        endPlay(MediaNotification::Superseded);
    if (!playDevice(m_atEnd)) {
        endPlay(MediaNotification::Failure);
        if (notify)
            post(MediaNotification::Failure);
        m_mode = MediaMode::Stopped;
        return;
    }
    m_atEnd = false;
    m_pending = m_pending || notify;
    m_mode = MediaMode::Playing;
}

void MediaPlayer::pause()
{
    if (m_mode == MediaMode::Playing && pauseDevice())
        m_mode = MediaMode::Paused;
}

void MediaPlayer::resume(bool notify)
{
    if (m_mode != MediaMode::Paused)
        return;
    if (!resumeDevice()) {
        play(notify);
        return;
    }
    m_pending = m_pending || notify;
    m_mode = MediaMode::Playing;
}

void MediaPlayer::stop(bool notify)
{
    if (!isOpen())
        return;
    endPlay(MediaNotification::Aborted);
    if (m_mode != MediaMode::Stopped)
        stopDevice();
    m_mode = MediaMode::Stopped;
    if (notify)
        post(MediaNotification::Successful);
}

void MediaPlayer::deviceEnded(bool failed)
{
    if (m_mode != MediaMode::Playing)
        return;
    m_mode = MediaMode::Stopped;
    m_atEnd = !failed;
    endPlay(failed ? MediaNotification::Failure : MediaNotification::Successful);
}

void MediaPlayer::endPlay(MediaNotification value)
{
    if (!m_pending)
        return;
    m_pending = false;
    post(value);
}

void MediaPlayer::post(MediaNotification value)
{
    // Like a posted window message: the receiver sees it after the current handler has ended.
    QMetaObject::invokeMethod(
        this, [this, value] { emit notified(value); }, Qt::QueuedConnection);
}

} // namespace tockwell::platform
