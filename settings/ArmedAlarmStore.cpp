#include "ArmedAlarmStore.h"

#include "Keys.h"
#include "Store.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <limits>

namespace tockwell::armed {

namespace {

/// Why an entry cannot be read. Thrown and caught inside this file only, one entry at a time.
struct Damage
{
    QString reason;
};

QString entryPath(const QString &name)
{
    return keys::under(Key) + QLatin1Char('\\') + name;
}

/// The number that an entry's name stands for: decimal, 1 … MaxAlarms, without a sign or a
/// leading zero.
int numberOf(const QString &name)
{
    static const QRegularExpression digits(u"\\A[1-9][0-9]?\\z"_qs);
    const int number = digits.match(name).hasMatch() ? name.toInt() : 0;
    if (number < 1 || number > MaxAlarms)
        throw Damage{u"the name is not a number 1 … %1"_qs.arg(MaxAlarms)};
    return number;
}

/// The damage of a value that is missing or not of `typeName`.
Damage absent(const Store &entry, QStringView name, QStringView typeName)
{
    if (!entry.valueExists(name))
        return {u"%1 is missing"_qs.arg(name)};
    return {u"%1 is not %2"_qs.arg(name, typeName)};
}

QString text(const Store &entry, QStringView name)
{
    if (auto value = entry.readString(name))
        return *std::move(value);
    throw absent(entry, name, u"REG_SZ");
}

int number(const Store &entry, QStringView name, int least, int most)
{
    const auto value = entry.readInteger(name);
    if (!value)
        throw absent(entry, name, u"REG_DWORD");
    if (*value < least || *value > most)
        throw Damage{u"%1 is %2"_qs.arg(name).arg(*value)};
    return *value;
}

/// A text that must be one of `allowed`, exactly.
template <typename Choices>
QString choice(const Store &entry, QStringView name, const Choices &allowed)
{
    QString value = text(entry, name);
    if (std::find(std::begin(allowed), std::end(allowed), value) == std::end(allowed))
        throw Damage{u"%1 is '%2'"_qs.arg(name, value)};
    return value;
}

QDateTime moment(const Store &entry, QStringView name)
{
    const QString value = text(entry, name);
    const QDateTime parsed = QDateTime::fromString(value, Qt::ISODateWithMs);
    if (!parsed.isValid())
        throw Damage{u"%1 is '%2'"_qs.arg(name, value)};
    return parsed.toUTC();
}

StoredAlarm readEntry(StoreFile &file, const QString &name)
{
    StoredAlarm stored;
    stored.number = numberOf(name);
    Store entry(file);
    entry.openKey(entryPath(name));
    ArmedAlarm &alarm = stored.alarm;
    alarm.Mode = choice(entry, values::Mode, std::array{ModeClock, ModeCountdown});
    alarm.ActionKind = choice(entry, values::Kind, kinds::All);
    alarm.MainParam = text(entry, values::MainParam);
    alarm.SecondParam = text(entry, values::SecondParam);
    // A countdown keeps its parts as entered, which have no upper bound (0:0:90).
    const bool countdown = alarm.Mode == ModeCountdown;
    constexpr int unbounded = std::numeric_limits<int>::max();
    alarm.Hour = number(entry, values::Hour, 0, countdown ? unbounded : 23);
    alarm.Minute = number(entry, values::Minute, 0, countdown ? unbounded : 59);
    alarm.Second = number(entry, values::Second, 0, countdown ? unbounded : 59);
    const int left = number(entry, values::Countdown, countdown ? 1 : 0, unbounded);
    alarm.CountdownLeft = countdown ? left : 0;
    alarm.RepeatSeconds = number(entry, values::Repeat, 0, unbounded);
    stored.armedAt = moment(entry, values::ArmedAt);
    stored.snooze = number(entry, values::Snooze, 0, 1) == 1;
    return stored;
}

} // namespace

ReadResult readAlarms(StoreFile &file)
{
    ReadResult result;
    Store armed(file);
    if (!armed.keyExists(keys::under(Key)))
        return result;
    armed.openKey(keys::under(Key));
    for (const QString &name : armed.subkeyNames()) {
        try {
            result.alarms.push_back(readEntry(file, name));
        } catch (const Damage &damage) {
            result.damaged.push_back({name, damage.reason});
        }
    }
    std::sort(result.alarms.begin(), result.alarms.end(),
              [](const StoredAlarm &a, const StoredAlarm &b) { return a.number < b.number; });
    return result;
}

void writeAlarm(StoreFile &file, const StoredAlarm &stored)
{
    if (stored.number < 1 || stored.number > MaxAlarms)
        throw StoreError::withText(
            u"Nie można zapisać alarmu nr %1: dozwolone są numery od 1 do %2."_qs.arg(stored.number)
                .arg(MaxAlarms));
    const QString name = QString::number(stored.number);
    const ArmedAlarm &alarm = stored.alarm;
    const bool countdown = alarm.Mode == ModeCountdown;
    StoreTransaction transaction(file);
    Store entry(file);
    entry.openKey(keys::under(Key));
    entry.recreateSubkey(name);
    entry.openKey(entryPath(name));
    entry.writeString(values::Mode, alarm.Mode);
    entry.writeString(values::Kind, alarm.ActionKind);
    entry.writeString(values::MainParam, alarm.MainParam);
    entry.writeString(values::SecondParam, alarm.SecondParam);
    entry.writeInteger(values::Hour, alarm.Hour);
    entry.writeInteger(values::Minute, alarm.Minute);
    entry.writeInteger(values::Second, alarm.Second);
    entry.writeInteger(values::Countdown, countdown ? alarm.CountdownLeft : 0);
    entry.writeInteger(values::Repeat, alarm.RepeatSeconds);
    entry.writeString(values::ArmedAt, stored.armedAt.toUTC().toString(Qt::ISODateWithMs));
    entry.writeBool(values::Snooze, stored.snooze);
    transaction.commit();
}

void removeAlarm(StoreFile &file, int number)
{
    Store armed(file);
    if (!armed.keyExists(keys::under(Key)))
        return;
    armed.openKey(keys::under(Key));
    armed.deleteSubkey(QString::number(number));
}

} // namespace tockwell::armed
