#pragma once

#include "ActionPanel.h"

#include <memory>

class QCheckBox;
class QLabel;
class QToolButton;

namespace tockwell {

class FileNameEdit;
class RecentListButton;
class SoundPlayer;
class StoreFile;
namespace platform {
class Platform;
}

/// "Odegraj dźwięk": the sound file with its recent list and playing time, and the test
/// player's toolbar with its endless loop. The alarm's own sound plays through the same player.
class SoundPanel final : public ActionPanel
{
    Q_OBJECT

public:
    SoundPanel(platform::Platform &platform, StoreFile &storeFile, QWidget *parent);
    ~SoundPanel() override;

    void restore(const LastSettings &last) override;
    /// Opens the sound the field names and shows its playing time; a name of no file disables
    /// the toolbar, a file of another kind is refused with a message.
    void check() override;
    void readInto(AlarmDraft &draft) const override;
    void showDraft(const AlarmDraft &draft) override;
    /// A test playback ends with the lock; after the alarm's own sound the toolbar is reset.
    void setLocked(bool locked) override;
    QWidget *firstField() const override;

    /// Plays the alarm sound with Play down; throws MediaDeviceError when it cannot.
    void playAlarmSound(const QString &file);
    /// Stops the sound that plays, the alarm's or the test's.
    void stopAlarmSound() { stopPlaying(); }
    /// Whether a sound plays or pauses.
    bool isSounding() const;

signals:
    /// A sound ended, by itself or by Stop.
    void soundEnded();

private:
    enum class Toolbar
    {
        Playing,
        Paused,
        Stopped
    };

    void createToolbar();
    void openAndTimeSound(QString fileName);
    void play();
    void pause();
    void stopPlaying();
    /// The end of a play: again from the start while the loop box is ticked.
    void playbackEnded();
    void setToolbar(Toolbar state);
    /// Stops the test playback without a notification of its own; toolbar *stopped*.
    void stopTestPlayback();

    platform::Platform &m_platform;
    QLabel *m_soundLabel, *m_durationLabel, *m_durationValue;
    FileNameEdit *m_soundField;
    RecentListButton *m_listButton;
    QToolButton *m_playButton, *m_pauseButton, *m_stopButton;
    QCheckBox *m_loopBox;
    std::unique_ptr<SoundPlayer> m_player; ///< the test player, which also plays the alarm sound
};

} // namespace tockwell
