#pragma once

#include "core/ArmedAlarm.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <vector>

namespace tockwell {

class StoreFile;

/// The alarms that are armed, as the store keeps them so that they outlive the program: one
/// subkey `Armed\<n>` of the base key per alarm, n = 1 … MaxArmedAlarms. Written in the
/// transaction that arms the alarm and removed when it is disarmed; `tockwell-reg alarms`
/// lists, adds and removes them.
namespace armed {

/// The most alarms that may be armed at once.
inline constexpr int MaxAlarms = 32;

/// The subkey of the base key that holds the armed alarms.
inline constexpr QStringView Key = u"Armed";

/// The values of one entry `Armed\<n>`.
namespace values {
inline constexpr QStringView Mode = u"Mode";               ///< REG_SZ: ModeClock or ModeCountdown
inline constexpr QStringView Kind = u"Kind";               ///< REG_SZ: one of kinds::All
inline constexpr QStringView MainParam = u"MainParam";     ///< REG_SZ
inline constexpr QStringView SecondParam = u"SecondParam"; ///< REG_SZ
/// REG_DWORD: the clock time, or the countdown's hours, minutes and seconds as entered.
inline constexpr QStringView Hour = u"Hour";
inline constexpr QStringView Minute = u"Minute";
inline constexpr QStringView Second = u"Second";
/// REG_DWORD: a countdown's seconds left when it was armed (at least 1); 0 for a clock time.
inline constexpr QStringView Countdown = u"Countdown";
inline constexpr QStringView Repeat = u"Repeat"; ///< REG_DWORD: RepeatSeconds, at least 0
/// REG_SZ: ISO 8601 in UTC to the millisecond, "2026-12-08T06:59:58.123Z".
inline constexpr QStringView ArmedAt = u"ArmedAt";
inline constexpr QStringView Snooze = u"Snooze"; ///< REG_DWORD 0 or 1
} // namespace values

/// One armed alarm as stored.
struct StoredAlarm
{
    int number = 0;      ///< the n of `Armed\<n>`, 1 … MaxAlarms
    ArmedAlarm alarm;    ///< its own fields only; the option flags are not stored
    QDateTime armedAt;   ///< when it was armed (UTC, to the millisecond): the order of firing
    bool snooze = false; ///< armed by the snooze of a fired alarm
};

/// An entry under `Armed` that could not be read: its subkey's name and why, in English.
struct DamagedEntry
{
    QString name;
    QString reason;
};

struct ReadResult
{
    std::vector<StoredAlarm> alarms; ///< by number
    std::vector<DamagedEntry> damaged;
};

/// Every entry under `Armed`. An entry whose name is not a number 1 … MaxAlarms, or whose
/// values are missing, of another type or out of range, is listed as damaged and left in
/// the store untouched. A store without the key, or that cannot be read, gives nothing.
ReadResult readAlarms(StoreFile &file);

/// Writes `stored` as `Armed\<number>`, replacing whatever that subkey held, in a transaction of
/// its own (within the caller's, when one is open). Throws StoreError, also for a number outside
/// 1 … MaxAlarms.
void writeAlarm(StoreFile &file, const StoredAlarm &stored);

/// Removes `Armed\<number>`; nothing when there is none. Throws StoreError.
void removeAlarm(StoreFile &file, int number);

} // namespace armed
} // namespace tockwell
