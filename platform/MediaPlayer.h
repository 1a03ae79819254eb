#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace tockwell::platform {

/// How one play ended, as the end-of-play notification reports it.
enum class MediaNotification
{
    Successful, ///< the sound played to its end
    Superseded, ///< a newer command asked for a notification of its own
    Aborted,    ///< stopped, or the sound was closed
    Failure     ///< the device failed while playing
};

enum class MediaMode
{
    NotOpen,
    Stopped,
    Playing,
    Paused
};

/// The media player: one sound file open at a time, played asynchronously. A play or resume
/// given with `notify` brings exactly one `notified` signal, always through the event loop and
/// never from inside a call: successful at the end of the sound, superseded when a later play
/// asks for a notification of its own, aborted by stop, close or another open, failure when the
/// device fails. Pausing keeps the play going: its notification comes after the resume.
class MediaPlayer : public QObject
{
    Q_OBJECT

public:
    MediaPlayer() = default;
    MediaPlayer(const MediaPlayer &) = delete;
    MediaPlayer &operator=(const MediaPlayer &) = delete;

    /// Closes any open sound, then opens `fileName`, ready to play from its start. On failure
    /// returns the device's error text; no sound is open then.
    std::optional<QString> open(const QString &fileName);
    /// Closes the open sound, if any.
    void close();

    MediaMode mode() const { return m_mode; }
    bool isOpen() const { return m_mode != MediaMode::NotOpen; }

    /// The length of the open sound in milliseconds; 0 when none is open or it is unknown.
    qint64 length();

    /// Plays from the current position, or from the start when the last play reached the end.
    /// Returns at once. Nothing happens when no sound is open.
    void play(bool notify);
    /// Pauses a playing sound; anything else is left alone.
    void pause();
    /// Resumes a paused sound; with `notify` a notification follows the end of the play when it
    /// has none yet. Anything else is left alone.
    void resume(bool notify);
    /// Stops a playing or paused sound where it is (a later play goes on from there); a pending
    /// notification is sent as aborted; with `notify` one successful notification follows.
    void stop(bool notify);

signals:
    void notified(tockwell::platform::MediaNotification value);

protected:
    // The back end's device operations; each returns whether the device did it.
    virtual std::optional<QString> openDevice(const QString &fileName) = 0;
    virtual void closeDevice() = 0;
    virtual qint64 deviceLength() = 0;
    virtual bool playDevice(bool fromStart) = 0;
    virtual bool pauseDevice() = 0;
    virtual bool resumeDevice() = 0;
    virtual bool stopDevice() = 0;

    /// Back ends call this when the playing sound has reached its end, or failed on the way.
    void deviceEnded(bool failed);

private:
    /// Sends the notification of the current play, if it asked for one.
    void endPlay(MediaNotification value);
    void post(MediaNotification value);

    MediaMode m_mode = MediaMode::NotOpen;
    bool m_atEnd = false;
    bool m_pending = false;
};

} // namespace tockwell::platform
