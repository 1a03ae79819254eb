// tockwell-reg: Tockwell's settings store on the command line, in the manner of Windows' reg.

#include "AlarmsCommand.h"
#include "RegFile.h"
#include "settings/Store.h"
#include "settings/StoreChangedSignal.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace tockwell;
using namespace tockwell::reg;

namespace {

const QString HelpText = uR"(Usage: tockwell-reg COMMAND KEY [options]

Looks at and changes Tockwell's settings store (the user's ~/.config/tockwell/settings.db)
in the manner of Windows' "reg" command. Keys are written HKCU\Software\Kestrolab\Tockwell\...
(HKEY_CURRENT_USER may be spelled out); key paths and value names ignore letter case.

  query  KEY [/v NAME | /ve] [/s]
         Lists the key's values and subkeys; /v one value, /ve the unnamed value,
         /s every subkey below it.
  add    KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]
         Creates the key and, with /v or /ve, writes a value. TYPE is REG_SZ (the default),
         REG_EXPAND_SZ, REG_DWORD (decimal or 0x hexadecimal) or REG_BINARY (hexadecimal
         digits). /f overwrites an existing value without asking.
  delete KEY [/v NAME | /ve | /va] [/f]
         Deletes the key with everything below it, or one value (/v, /ve), or all values of
         the key (/va). /f does not ask.
  export KEY FILE [/y]
         Writes the key and everything below it to FILE as a "Windows Registry Editor
         Version 5.00" file (UTF-16LE) that imports back into the same tree. /y overwrites
         FILE without asking; FILE is replaced only when the whole export is written.
  import FILE
         Reads a .reg file of Windows' registry editor, "Windows Registry Editor Version
         5.00" (UTF-16LE or UTF-8) or "REGEDIT4" (Windows-1250), into the store. A malformed
         file is refused with its line number and nothing of it is imported.
  alarms list
         Lists the armed alarms that the program keeps (Armed\<n>), one line each,
         tab-separated: the number; "G HH:MM:SS" (a time of day) or "D H:MM:SS" (a
         countdown's time left when it was armed); the kind; the main and the second
         parameter (line breaks as \n); repeat=SECONDS; armed=the moment of arming (UTC);
         "snooze" for an alarm armed by a snooze. Entries that cannot be read are named on
         stderr with the reason.
  alarms add (--at HH:MM[:SS] | --in H:M:S) --kind KIND [--param TEXT] [--second TEXT]
             [--repeat SECONDS]
         Arms an alarm under the lowest free number (1 to 32) and prints the number. KIND
         is the kind exactly as the setup window lists it ("Domyślne okno", "Komunikat",
         "Odegraj dźwięk", "Otwórz folder", "Uruchom plik", "Uruchom program", "Uruchom
         stronę WWW", "Zamknij system", "Inne możliwości").
  alarms remove N | all
         Removes the alarm N (or a damaged entry by the name "list" gives it), or all.

After every change a running Tockwell is told on the session bus (the signal
pl.kestrolab.Tockwell.StoreChanged on /pl/kestrolab/Tockwell) and reads its alarms again.

Exit status: 0 on success, 1 on an error or when the operation was cancelled.
)"_qs;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

/// The command line after the command: positional arguments and switches.
struct Arguments
{
    QStringList positional;
    std::optional<QString> valueName; ///< /v NAME, or the empty name for /ve
    bool allValues = false;           ///< /va
    bool recurse = false;             ///< /s
    bool force = false;               ///< /f, /y
    QString type = u"REG_SZ"_qs;
    QString data;
};

Arguments parseArguments(const QStringList &args)
{
    Arguments a;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString arg = args[i].toLower();
        const auto next = [&]() {
            if (i + 1 >= args.size())
                throw RegError(u"%1 needs a value"_qs.arg(args[i]));
            return args[++i];
        };
        if (arg == u"/v")
            a.valueName = next();
        else if (arg == u"/ve")
            a.valueName = QString();
        else if (arg == u"/va")
            a.allValues = true;
        else if (arg == u"/s")
            a.recurse = true;
        else if (arg == u"/f" || arg == u"/y")
            a.force = true;
        else if (arg == u"/t")
            a.type = next().toUpper();
        else if (arg == u"/d")
            a.data = next();
        else
            a.positional << args[i];
    }
    return a;
}

bool confirm(const QString &question)
{
    out() << question << u" "_qs;
    out().flush();
    char line[64] = {};
    if (!std::fgets(line, sizeof line, stdin))
        return false;
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    return answer == u"y" || answer == u"yes";
}

QString typeName(int type)
{
    switch (type) {
    case regtype::Sz:
        return u"REG_SZ"_qs;
    case regtype::ExpandSz:
        return u"REG_EXPAND_SZ"_qs;
    case regtype::Binary:
        return u"REG_BINARY"_qs;
    case regtype::Dword:
        return u"REG_DWORD"_qs;
    case regtype::MultiSz:
        return u"REG_MULTI_SZ"_qs;
    default:
        return u"REG_0x%1"_qs.arg(type, 0, 16);
    }
}

QString dataText(const RawValue &value)
{
    switch (value.type) {
    case regtype::Sz:
    case regtype::ExpandSz:
        return value.text;
    case regtype::Dword:
        return u"0x%1"_qs.arg(value.number, 0, 16);
    default:
        return QString::fromLatin1(value.bytes.toHex().toUpper());
    }
}

void printValue(const QString &name, const RawValue &value)
{
    out() << u"    "_qs << (name.isEmpty() ? u"(Default)"_qs : name) << u"    "_qs
          << typeName(value.type) << u"    "_qs << dataText(value) << Qt::endl;
}

/// The name of a value as it was first written.
QString storedName(const Store &store, const QString &name)
{
    const QString folded = name.toCaseFolded();
    for (const QString &stored : store.valueNames()) {
        if (stored.toCaseFolded() == folded)
            return stored;
    }
    return name;
}

/// Prints one key; returns whether anything matched the /v filter.
bool queryKey(Store &store, const QString &path, const Arguments &a)
{
    store.openKey(path);
    bool found = false;
    if (a.valueName) {
        if (const auto value = store.readRaw(*a.valueName)) {
            out() << Qt::endl << fullName(path) << Qt::endl;
            printValue(storedName(store, *a.valueName), *value);
            found = true;
        }
    } else {
        out() << Qt::endl << fullName(path) << Qt::endl;
        for (const QString &name : store.valueNames()) {
            if (const auto value = store.readRaw(name))
                printValue(name, *value);
        }
        found = true;
    }
    const QStringList subkeys = store.subkeyNames();
    if (!a.recurse) {
        if (!a.valueName) {
            if (!subkeys.isEmpty())
                out() << Qt::endl;
            for (const QString &subkey : subkeys)
                out() << fullName(subkeyPath(path, subkey)) << Qt::endl;
        }
        return found;
    }
    for (const QString &subkey : subkeys) {
        // A key without a name (one named U+FEFF, which SQLite drops) would be this key again.
        if (!subkey.isEmpty())
            found = queryKey(store, subkeyPath(path, subkey), a) || found;
    }
    return found;
}

RegError notFound()
{
    return RegError(u"The system was unable to find the specified registry key or value."_qs);
}

QString keyArgument(const Arguments &a, qsizetype count)
{
    if (a.positional.size() != count)
        throw RegError(u"Invalid syntax. Type \"tockwell-reg --help\" for usage."_qs);
    return storePath(a.positional[0]);
}

int query(StoreFile &file, const Arguments &a)
{
    const QString path = keyArgument(a, 1);
    Store store(file);
    if (!store.keyExists(path))
        throw notFound();
    if (!queryKey(store, path, a))
        throw notFound();
    return 0;
}

RawValue valueFromData(const Arguments &a)
{
    if (a.type == u"REG_SZ")
        return RawValue{regtype::Sz, a.data, 0, {}};
    if (a.type == u"REG_EXPAND_SZ")
        return RawValue{regtype::ExpandSz, a.data, 0, {}};
    if (a.type == u"REG_DWORD") {
        bool ok = false;
        const QString data = a.data.isEmpty() ? u"0"_qs : a.data;
        const qulonglong number = data.startsWith(u"0x"_qs, Qt::CaseInsensitive)
                                      ? data.mid(2).toULongLong(&ok, 16)
                                      : data.toULongLong(&ok, 10);
        if (!ok || number > 0xFFFFFFFFull)
            throw RegError(u"'%1' is not a REG_DWORD number"_qs.arg(a.data));
        return RawValue{regtype::Dword, {}, quint32(number), {}};
    }
    if (a.type == u"REG_BINARY") {
        const QByteArray hex = a.data.toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (hex.size() % 2 || bytes.toHex() != hex.toLower())
            throw RegError(u"'%1' is not REG_BINARY data (hexadecimal digits)"_qs.arg(a.data));
        return RawValue{regtype::Binary, {}, 0, bytes};
    }
    throw RegError(
        u"unknown type %1 (REG_SZ, REG_EXPAND_SZ, REG_DWORD or REG_BINARY)"_qs.arg(a.type));
}

int add(StoreFile &file, const Arguments &a)
{
    const QString path = keyArgument(a, 1);
    if (path.isEmpty())
        throw RegError(u"the root key itself cannot be changed"_qs);
    checkKeyPath(path);
    Store store(file);
    std::optional<RawValue> value;
    if (a.valueName)
        value = valueFromData(a);
    if (!store.openKey(path))
        throw StoreError::withText(u"Failed to create key '%1'"_qs.arg(path));
    if (value) {
        if (!a.force && store.valueExists(*a.valueName) &&
            !confirm(u"Value %1 exists, overwrite(Yes/No)?"_qs.arg(
                a.valueName->isEmpty() ? u"(Default)"_qs : *a.valueName))) {
            out() << u"The operation was cancelled."_qs << Qt::endl;
            return 1;
        }
        store.writeRaw(*a.valueName, *value);
    }
    out() << u"The operation completed successfully."_qs << Qt::endl;
    return 0;
}

int remove(StoreFile &file, const Arguments &a)
{
    const QString path = keyArgument(a, 1);
    Store store(file);
    if (!store.keyExists(path))
        throw notFound();
    QString question;
    if (a.valueName) {
        store.openKey(path);
        if (!store.valueExists(*a.valueName))
            throw notFound();
        question = u"Delete the registry value %1 (Yes/No)?"_qs.arg(
            a.valueName->isEmpty() ? u"(Default)"_qs : *a.valueName);
    } else if (a.allValues) {
        question = u"Delete all values under the registry key %1 (Yes/No)?"_qs.arg(fullName(path));
    } else {
        if (path.isEmpty())
            throw RegError(u"the root key itself cannot be deleted"_qs);
        question = u"Delete the registry key %1 (Yes/No)?"_qs.arg(fullName(path));
    }
    if (!a.force && !confirm(question)) {
        out() << u"The operation was cancelled."_qs << Qt::endl;
        return 1;
    }
    StoreTransaction transaction(file);
    store.openKey(path);
    if (a.valueName) {
        store.deleteValue(*a.valueName);
    } else if (a.allValues) {
        for (const QString &name : store.valueNames())
            store.deleteValue(name);
    } else {
        QStringList parts = keyPathParts(path);
        const QString last = parts.takeLast();
        store.openKey(parts.join(QLatin1Char('\\')));
        store.deleteSubkey(last);
    }
    transaction.commit();
    out() << u"The operation completed successfully."_qs << Qt::endl;
    return 0;
}

/// Writes all of `bytes`; false with the cause in the file's error text when that fails. (A
/// write cut short reports no cause: the next one does.)
bool writeAll(QFileDevice &f, const QByteArray &bytes)
{
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 n = f.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

int exportCommand(StoreFile &file, const Arguments &a)
{
    const QString path = keyArgument(a, 2);
    const QString target = a.positional[1];
    Store store(file);
    if (!store.keyExists(path))
        throw notFound();
    if (!a.force && QFile::exists(target) &&
        !confirm(u"File %1 already exists. Overwrite (Yes/No)?"_qs.arg(target))) {
        out() << u"The operation was cancelled."_qs << Qt::endl;
        return 1;
    }
    const QByteArray bytes = exportKey(file, path);
    // Written beside the target and renamed over it only when complete: a full disk or a
    // failed write leaves an earlier file as it was.
    QSaveFile f(target);
    if (!f.open(QIODevice::WriteOnly) || !writeAll(f, bytes) || !f.commit())
        throw RegError(u"cannot write %1: %2"_qs.arg(target, f.errorString()));
    out() << u"The operation completed successfully."_qs << Qt::endl;
    return 0;
}

int importCommand(StoreFile &file, const Arguments &a)
{
    if (a.positional.size() != 1)
        throw RegError(u"Invalid syntax. Type \"tockwell-reg --help\" for usage."_qs);
    const QString source = a.positional[0];
    QFile f(source);
    if (!f.open(QIODevice::ReadOnly))
        throw RegError(u"cannot read %1: %2"_qs.arg(source, f.errorString()));
    try {
        applyChanges(file, parseRegFile(f.readAll()));
    } catch (const RegError &e) {
        throw RegError(u"%1, %2"_qs.arg(source, e.text()));
    }
    out() << u"The operation completed successfully."_qs << Qt::endl;
    return 0;
}

/// Tells a running program on the session bus that the store has changed; nothing without a
/// session bus.
void announceStoreChanged()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.send(QDBusMessage::createSignal(storechanged::Path.toString(),
                                        storechanged::Interface.toString(),
                                        storechanged::Member.toString()));
    // Sending only queues the signal. The bus answers a call after it has taken everything
    // sent before it, so the signal has left when the answer comes and the tool may end.
    bus.call(QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_qs, u"/org/freedesktop/DBus"_qs,
                                            u"org.freedesktop.DBus"_qs, u"GetId"_qs),
             QDBus::Block, 1000);
}

/// Whether `command` with `args` changes the store when it succeeds.
bool changesStore(const QString &command, const QStringList &args)
{
    if (command == u"alarms")
        return alarmsCommandChangesStore(args);
    return command == u"add" || command == u"delete" || command == u"import";
}

/// One of the commands in the manner of Windows' reg; `args` with the command first.
int regCommand(StoreFile &file, const QStringList &args, const Arguments &a)
{
    const QString command = args[0].toLower();
    if (command == u"query")
        return query(file, a);
    if (command == u"add")
        return add(file, a);
    if (command == u"delete")
        return remove(file, a);
    if (command == u"export")
        return exportCommand(file, a);
    if (command == u"import")
        return importCommand(file, a);
    throw RegError(
        u"unknown command '%1'. Type \"tockwell-reg --help\" for usage."_qs.arg(args[0]));
}

int run(const QStringList &args)
{
    if (args.isEmpty() || args[0] == u"--help" || args[0] == u"-h" || args[0] == u"/?") {
        out() << HelpText;
        return args.isEmpty() ? 1 : 0;
    }
    const QString command = args[0].toLower();
    const QStringList rest = args.mid(1);
    const bool alarms = command == u"alarms";
    const Arguments a = alarms ? Arguments() : parseArguments(rest);
    StoreFile file;
    if (!file.damageNotice().isEmpty())
        err() << QString(file.damageNotice()).replace(QLatin1Char('\r'), QLatin1Char('\n'))
              << Qt::endl;
    if (!file.isOpen())
        throw RegError(u"cannot open the settings store %1"_qs.arg(file.path()));
    const int status = alarms ? alarmsCommand(file, rest, out(), err()) : regCommand(file, args, a);
    if (status == 0 && changesStore(command, rest))
        announceStoreChanged();
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    try {
        return run(app.arguments().mid(1));
    } catch (const Error &e) {
        out().flush();
        err() << u"ERROR: "_qs << e.text() << Qt::endl;
        return 1;
    }
}
