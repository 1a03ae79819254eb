#include "AlarmsCommand.h"

#include "RegFile.h"
#include "settings/ArmedAlarmStore.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "settings/TimeEntry.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace tockwell::reg {

namespace {

RegError syntaxError()
{
    return RegError(u"Invalid syntax. Type \"tockwell-reg --help\" for usage."_qs);
}

QString entryPath(const QString &name)
{
    return keys::under(armed::Key) + QLatin1Char('\\') + name;
}

/// A parameter on one line: control characters (a message's line breaks) as escapes.
QString oneLine(const QString &text)
{
    QString line;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            line += u"\\n"_qs;
        else if (c == QLatin1Char('\r'))
            line += u"\\r"_qs;
        else if (c == QLatin1Char('\t'))
            line += u"\\t"_qs;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            line += u"\\u%1"_qs.arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line;
}

/// "G 07:00:00", or a countdown's seconds left at arming as "D 0:04:12".
QString timeText(const ArmedAlarm &alarm)
{
    const auto twoDigits = [](int n) { return u"%1"_qs.arg(n, 2, 10, QLatin1Char('0')); };
    if (alarm.Mode == ModeCountdown) {
        const int left = alarm.CountdownLeft;
        return u"D %1:%2:%3"_qs.arg(left / 3600)
            .arg(twoDigits(left / 60 % 60), twoDigits(left % 60));
    }
    return u"G %1:%2:%3"_qs.arg(twoDigits(alarm.Hour), twoDigits(alarm.Minute),
                                twoDigits(alarm.Second));
}

int list(StoreFile &file, QTextStream &out, QTextStream &err)
{
    const armed::ReadResult read = armed::readAlarms(file);
    for (const armed::StoredAlarm &stored : read.alarms) {
        const ArmedAlarm &alarm = stored.alarm;
        QStringList fields = {QString::number(stored.number),
                              timeText(alarm),
                              alarm.ActionKind,
                              oneLine(alarm.MainParam),
                              oneLine(alarm.SecondParam),
                              u"repeat=%1"_qs.arg(alarm.RepeatSeconds),
                              u"armed=%1"_qs.arg(stored.armedAt.toString(Qt::ISODateWithMs))};
        if (stored.snooze)
            fields << u"snooze"_qs;
        out << fields.join(QLatin1Char('\t')) << Qt::endl;
    }
    for (const armed::DamagedEntry &damaged : read.damaged)
        err << armed::Key << QLatin1Char('\\') << oneLine(damaged.name) << u": damaged: "_qs
            << damaged.reason << Qt::endl;
    return 0;
}

/// The kinds, as "add" takes them.
QString kindList()
{
    QStringList names;
    for (const QStringView kind : kinds::All)
        names << u"\"%1\""_qs.arg(kind);
    return names.join(u", "_qs);
}

/// The seconds after which a fired alarm is repeated, as the setup window reads them; nothing
/// for anything else or a negative number.
std::optional<int> repeatSeconds(const QString &text)
{
    try {
        if (const int seconds = parseInteger(text); seconds >= 0)
            return seconds;
    } catch (const ConvertError &) {
    }
    return std::nullopt;
}

/// The options of "add", as given.
struct AddOptions
{
    std::optional<QString> at; ///< --at HH:MM[:SS]
    std::optional<QString> in; ///< --in H:M:S
    std::optional<QString> kind;
    std::optional<QString> param;
    std::optional<QString> second;
    std::optional<QString> repeat;
};

AddOptions parseAddOptions(const QStringList &options)
{
    static constexpr std::pair<QStringView, std::optional<QString> AddOptions::*> names[] = {
        {u"--at", &AddOptions::at},         {u"--in", &AddOptions::in},
        {u"--kind", &AddOptions::kind},     {u"--param", &AddOptions::param},
        {u"--second", &AddOptions::second}, {u"--repeat", &AddOptions::repeat}};
    AddOptions given;
    for (qsizetype i = 0; i < options.size(); i += 2) {
        const auto name = std::find_if(std::begin(names), std::end(names),
                                       [&](const auto &n) { return n.first == options[i]; });
        if (name == std::end(names))
            throw RegError(
                u"unknown option '%1'. Type \"tockwell-reg --help\" for usage."_qs.arg(options[i]));
        if (i + 1 >= options.size())
            throw RegError(u"%1 needs a value"_qs.arg(options[i]));
        given.*(name->second) = options[i + 1];
    }
    return given;
}

/// The alarm's mode and time from --at or --in; throws RegError for a time it cannot arm.
void setTime(ArmedAlarm &alarm, const AddOptions &given)
{
    if (given.at.has_value() == given.in.has_value())
        throw RegError(u"say when: either --at HH:MM[:SS] or --in H:M:S"_qs);
    const std::optional<TimeParts> time =
        given.at ? clockTimeFromText(*given.at) : countdownFromText(*given.in);
    if (!time)
        throw RegError(given.at ? u"'%1' is not a time of day HH:MM[:SS]"_qs.arg(*given.at)
                                : u"'%1' is not a countdown H:M:S"_qs.arg(*given.in));
    alarm.Mode = (given.at ? ModeClock : ModeCountdown).toString();
    alarm.Hour = time->hours;
    alarm.Minute = time->minutes;
    alarm.Second = time->seconds;
    if (given.in) {
        const auto total = countdownTotal(time->hours, time->minutes, time->seconds);
        if (!total)
            throw RegError(u"a countdown is 1 … 2147483647 seconds, not '%1'"_qs.arg(*given.in));
        alarm.CountdownLeft = *total;
    }
}

/// The alarm that "add" describes, armed now; throws RegError for anything it cannot arm.
armed::StoredAlarm alarmFromOptions(const QStringList &options)
{
    const AddOptions given = parseAddOptions(options);
    armed::StoredAlarm stored;
    ArmedAlarm &alarm = stored.alarm;
    setTime(alarm, given);
    if (!given.kind)
        throw RegError(u"say what: --kind KIND"_qs);
    if (std::find(kinds::All.begin(), kinds::All.end(), *given.kind) == kinds::All.end())
        throw RegError(u"unknown kind '%1' (one of: %2)"_qs.arg(*given.kind, kindList()));
    alarm.ActionKind = *given.kind;
    alarm.MainParam = given.param.value_or(QString());
    alarm.SecondParam = given.second.value_or(QString());
    const QString repeatText = given.repeat.value_or(u"0"_qs);
    const std::optional<int> repeat = repeatSeconds(repeatText);
    if (!repeat)
        throw RegError(u"'%1' is not a number of seconds to repeat after"_qs.arg(repeatText));
    alarm.RepeatSeconds = *repeat;
    stored.armedAt = QDateTime::currentDateTimeUtc();
    return stored;
}

/// The lowest number whose entry does not exist, not even damaged; throws RegError when every
/// number is taken.
int lowestFreeNumber(StoreFile &file)
{
    const Store store(file);
    for (int number = 1; number <= armed::MaxAlarms; ++number) {
        if (!store.keyExists(entryPath(QString::number(number))))
            return number;
    }
    throw RegError(u"no free number: at most %1 alarms are armed at once"_qs.arg(armed::MaxAlarms));
}

int add(StoreFile &file, const QStringList &options, QTextStream &out)
{
    armed::StoredAlarm stored = alarmFromOptions(options);
    StoreTransaction transaction(file);
    stored.number = lowestFreeNumber(file);
    armed::writeAlarm(file, stored);
    transaction.commit();
    out << stored.number << Qt::endl;
    return 0;
}

int removeAll(StoreFile &file)
{
    Store store(file);
    if (!store.keyExists(keys::under(armed::Key)))
        throw RegError(u"no alarms are stored"_qs);
    store.openKey(keys::under(armed::Key));
    if (store.subkeyNames().isEmpty())
        throw RegError(u"no alarms are stored"_qs);
    store.openKey(keys::Base);
    store.deleteSubkey(armed::Key);
    return 0;
}

/// Removes the entry `name` as "list" names it: a number, or a damaged entry's name.
int remove(StoreFile &file, const QString &name)
{
    Store store(file);
    if (name.isEmpty() || name.contains(QLatin1Char('\\')) || !store.keyExists(entryPath(name)))
        throw RegError(u"there is no alarm %1"_qs.arg(name));
    store.openKey(keys::under(armed::Key));
    store.deleteSubkey(name);
    return 0;
}

} // namespace

int alarmsCommand(StoreFile &file, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString command = arguments.value(0);
    if (command == u"list" && arguments.size() == 1)
        return list(file, out, err);
    if (command == u"add")
        return add(file, arguments.mid(1), out);
    if (command == u"remove" && arguments.size() == 2)
        return arguments[1] == u"all" ? removeAll(file) : remove(file, arguments[1]);
    throw syntaxError();
}

bool alarmsCommandChangesStore(const QStringList &arguments)
{
    return arguments.value(0) != u"list";
}

} // namespace tockwell::reg
