#include "SoundPlayer.h"

#include "core/Error.h"
#include "engine/Actions.h"

#include <cmath>

namespace tockwell {

using platform::MediaMode;

QString playingTimeText(qint64 length)
{
    // The length in hundredths, spread over a slightly longer second: a minute shows as 0:60s.
    const qint64 hundredths = length / 10;
    const double seconds = double(hundredths) / 100.2066;
    const auto minutes = qint64(std::trunc(seconds / 60));
    const auto second = qint64(std::trunc(seconds - 60.0 * double(minutes))) + 1;
    return QString::number(minutes) + (second < 10 ? u":0"_qs : u":"_qs) + QString::number(second) +
           u"s"_qs;
}

bool isSoundFileName(const QString &fileName)
{
    // WAV, MP3 and MIDI, and Ogg Vorbis: the sound format of the desktop's own alert sounds.
    static const QStringList extensions = {u".WAV"_qs,  u".MP3"_qs, u".MID"_qs,
                                           u".MIDI"_qs, u".OGA"_qs, u".OGG"_qs};
    return extensions.contains(Actions::fileExtension(fileName).toUpper());
}

SoundPlayer::SoundPlayer(platform::MediaPlayer &device, std::function<void()> onNotify)
    : m_device(device)
{
    m_connection = QObject::connect(&device, &platform::MediaPlayer::notified, &device,
                                    [this, onNotify = std::move(onNotify)](auto value) {
                                        m_notifyValue = value;
                                        onNotify();
                                    });
}

SoundPlayer::~SoundPlayer()
{
    QObject::disconnect(m_connection);
}

void SoundPlayer::requireOpen() const
{
    if (!m_device.isOpen())
        throw MediaDeviceError(u"No sound is open"_qs);
}

bool SoundPlayer::takeNotify(bool byDefault)
{
    const bool notify = m_notify.value_or(byDefault);
    m_notify.reset();
    return notify;
}

void SoundPlayer::open()
{
    m_notify.reset();
    if (const std::optional<QString> error = m_device.open(m_fileName))
        throw MediaDeviceError(*error);
}

qint64 SoundPlayer::length() const
{
    requireOpen();
    return m_device.length();
}

void SoundPlayer::play()
{
    const bool notify = takeNotify(true);
    requireOpen();
    m_device.play(notify);
}

void SoundPlayer::pause()
{
    takeNotify(false);
    requireOpen();
    if (m_device.mode() == MediaMode::Playing)
        m_device.pause();
    else if (m_device.mode() == MediaMode::Paused)
        m_device.resume(true);
}

void SoundPlayer::stop()
{
    const bool notify = takeNotify(false);
    requireOpen();
    m_device.stop(notify);
}

} // namespace tockwell
