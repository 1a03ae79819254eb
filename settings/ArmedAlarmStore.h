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

/// Writes `stored` as `Armed\<number>`, replacing whatever that subkey held. Throws StoreError.
void writeAlarm(StoreFile &file, const StoredAlarm &stored);

/// Removes `Armed\<number>`; nothing when there is none. Throws StoreError.
void removeAlarm(StoreFile &file, int number);

} // namespace armed
} // namespace tockwell
