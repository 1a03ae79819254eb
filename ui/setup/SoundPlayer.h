#pragma once

#include "platform/MediaPlayer.h"

#include <QString>

#include <functional>
#include <optional>

namespace tockwell {

/// The playing-time text of a sound `length` milliseconds long, as the sound panel shows it
/// ("0:03s", "1:05s"; a minute shows as "0:60s").
QString playingTimeText(qint64 length);

/// Whether a file name has one of the extensions the sound panel takes, in any letter case.
bool isSoundFileName(const QString &fileName);

/// The setup window's media player: the platform's player with a file name, a one-shot notify
/// setting for the next command and the value of the last notification. Operations other than
/// open throw MediaDeviceError when no sound is open; open throws it with the device's text.
class SoundPlayer final
{
public:
    /// `onNotify` runs on every end-of-play notification, after its value has been stored.
    SoundPlayer(platform::MediaPlayer &device, std::function<void()> onNotify);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer &) = delete;
    SoundPlayer &operator=(const SoundPlayer &) = delete;

    const QString &fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    /// Whether the next command asks for a notification (a play asks by default, a stop not).
    void setNotify(bool notify) { m_notify = notify; }

    /// Closes any open sound and opens the file name.
    void open();
    bool isOpen() const { return m_device.isOpen(); }
    /// The open sound's length in milliseconds.
    qint64 length() const;
    /// Plays from where the sound stands, from the start when it had ended.
    void play();
    /// Pauses a playing sound, resumes a paused one, leaves a stopped one alone.
    void pause();
    void stop();

    platform::MediaNotification notifyValue() const { return m_notifyValue; }

private:
    void requireOpen() const;
    /// The one-shot setting for this command, or `byDefault` when none was given; cleared.
    bool takeNotify(bool byDefault);

    platform::MediaPlayer &m_device;
    QString m_fileName;
    std::optional<bool> m_notify;
    platform::MediaNotification m_notifyValue = platform::MediaNotification::Successful;
    QMetaObject::Connection m_connection;
};

} // namespace tockwell
