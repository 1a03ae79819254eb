#pragma once

#include "ClockGroupBox.h"
#include "settings/TimeEntry.h"

#include <array>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace tockwell {

class AlarmDraft;
class Clock;
class RecentListButton;
class SecondTicker;
class StoreFile;
struct LastSettings;
namespace platform {
class Dialogs;
}

/// When the alarm goes off: at a clock time or after a countdown, each in three fields with its
/// recent list, and whether the action repeats. Its caption is the clock, which runs while the
/// window shows.
class TimingGroup final : public ClockGroupBox
{
public:
    /// The caption's clock shows `clock`'s time at every second of `seconds` while it runs.
    TimingGroup(const Clock &clock, SecondTicker &seconds, StoreFile &storeFile,
                platform::Dialogs &dialogs, QWidget *parent);

    /// Restores the repeat and the current entries of the two time lists; a malformed entry
    /// zeroes its fields and shows the error box.
    void restore(const LastSettings &last);
    /// Chooses the clock time or the countdown, whose button takes the focus.
    void chooseMode(bool countdown);
    void readInto(AlarmDraft &draft) const;
    /// Shows the mode, the time and the repeat of `draft`, the inverse of readInto.
    void showDraft(const AlarmDraft &draft);
    /// Locks everything while the alarm is armed; unlocked, the mode's fields are enabled again.
    void setLocked(bool locked);
    /// The repeat can be chosen for kinds that can repeat.
    void allowRepeat(bool allowed);
    /// Puts the repeat field into the blank of its box's caption.
    void fitCaptions();

    /// The caption's clock shows the time now and every second from now on; or rests.
    void startClock();
    void stopClock();

private:
    void createClockRow(StoreFile &storeFile);
    void createCountdownRow(StoreFile &storeFile);
    void createRepeat();
    void connectHandlers();
    void setHints();
    void showCurrentTime();
    /// Enables the fields of the chosen mode and disables the other's.
    void enableChosenMode();
    void enableRepeatField();
    /// Puts a time read from a text into its three fields; a text that is not one (no `parts`)
    /// zeroes them and shows the error box.
    void setTime(const std::array<QSpinBox *, 3> &fields, const std::optional<TimeParts> &parts);

    const Clock &m_clock;
    SecondTicker &m_seconds;
    platform::Dialogs &m_dialogs;
    const QString m_clockFormat; ///< the caption's clock's format

    QRadioButton *m_clockModeButton, *m_countdownModeButton;
    std::array<QSpinBox *, 3> m_clockFields, m_countdownFields; ///< hours, minutes, seconds
    QLabel *m_clockColons, *m_countdownColons, *m_timeFormatLabel;
    RecentListButton *m_clockListButton, *m_countdownListButton;
    QCheckBox *m_repeatBox;
    QLineEdit *m_repeatSecondsField;
};

} // namespace tockwell
