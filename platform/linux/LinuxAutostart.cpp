#include "LinuxAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <map>
#include <utility>

namespace tockwell::platform {
namespace {

constexpr auto EntryName = u"Alarm";
constexpr auto MainGroup = u"[Desktop Entry]";
// An autostart entry is a few lines; anything much larger is not one of ours.
constexpr qint64 MaxEntrySize = 64 * 1024;
// Characters that make an argument need quotes in an Exec value.
constexpr auto Reserved = u" \t\n\"'\\><~|&;$*?#()`";
// Characters that take a backslash inside a quoted argument.
constexpr auto EscapedInQuotes = u"\"`$\\";

/// Undoes the escapes of a desktop entry's string value (\s \n \t \r \\).
QString unescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        default:
            out += next;
            break;
        }
    }
    return out;
}

/// The string value that reads back as `text`.
QString escapeValue(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += u"\\\\"_qs;
            break;
        case '\n':
            out += u"\\n"_qs;
            break;
        case '\t':
            out += u"\\t"_qs;
            break;
        case '\r':
            out += u"\\r"_qs;
            break;
        default:
            out += c;
            break;
        }
    }
    if (out.startsWith(u' '))
        out.replace(0, 1, u"\\s"_qs);
    return out;
}

/// The keys of the main group, the first of each name; localised keys are left out.
std::map<QString, QString> mainGroupKeys(const QByteArray &contents)
{
    std::map<QString, QString> keys;
    bool inMain = false;
    for (const QByteArray &rawLine : contents.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inMain = line == MainGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inMain || equals <= 0)
            continue;
        keys.try_emplace(line.left(equals).trimmed(),
                         unescapeValue(line.mid(equals + 1).trimmed()));
    }
    return keys;
}

QString valueOf(const std::map<QString, QString> &keys, const QString &name)
{
    const auto found = keys.find(name);
    return found == keys.end() ? QString() : found->second;
}

} // namespace

std::optional<QStringList> splitExecLine(const QString &exec)
{
    QStringList args;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == u'%') {
            if (i + 1 < exec.size() && exec.at(i + 1) == u'%') {
                current += c;
                inArgument = true;
                ++i;
                continue;
            }
            return std::nullopt; // a field code, or a lone "%"
        }
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\') {
                if (i + 1 == exec.size() || !QStringView(EscapedInQuotes).contains(exec.at(i + 1)))
                    return std::nullopt;
                current += exec.at(++i);
            } else {
                current += c;
            }
        } else if (c == u' ') {
            if (inArgument)
                args << std::exchange(current, QString());
            inArgument = false;
        } else if (c == u'"') {
            quoted = inArgument = true;
        } else if (QStringView(Reserved).contains(c)) {
            return std::nullopt; // must have been quoted
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        args << current;
    return args;
}

QString execLineFor(const QString &program)
{
    QString arg = program;
    arg.replace(u'%', u"%%"_qs);
    const bool needsQuotes = std::any_of(arg.cbegin(), arg.cend(),
                                         [](QChar c) { return QStringView(Reserved).contains(c); });
    if (!needsQuotes)
        return arg;
    QString quotedArg = u"\""_qs;
    for (const QChar c : arg) {
        if (QStringView(EscapedInQuotes).contains(c))
            quotedArg += u'\\';
        quotedArg += c;
    }
    return quotedArg + u'"';
}

LinuxAutostart::LinuxAutostart(QString directory) : m_directory(std::move(directory)) {}

QString LinuxAutostart::defaultDirectory()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(u"autostart"_qs);
}

QString LinuxAutostart::filePath() const
{
    return QDir(m_directory).filePath(QString::fromUtf16(EntryName) + u".desktop"_qs);
}

std::optional<QString> LinuxAutostart::plainProgram() const
{
    QFile file(filePath());
    if (file.size() > MaxEntrySize || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto keys = mainGroupKeys(file.readAll());
    if (valueOf(keys, u"Type"_qs) != u"Application" || valueOf(keys, u"Hidden"_qs) == u"true" ||
        valueOf(keys, u"X-GNOME-Autostart-enabled"_qs) == u"false")
        return std::nullopt;
    const std::optional<QStringList> args = splitExecLine(valueOf(keys, u"Exec"_qs));
    if (!args || args->size() != 1 || !QDir::isAbsolutePath(args->front()))
        return std::nullopt;
    return args->front();
}

bool LinuxAutostart::isActive()
{
    const std::optional<QString> program = plainProgram();
    return program && QFileInfo(*program).isFile();
}

bool LinuxAutostart::write(const QString &programFile)
{
    const QString name = QString::fromUtf16(EntryName);
    QSaveFile file(filePath());
    const QByteArray contents = (u"[Desktop Entry]\n"
                                 u"Type=Application\n"
                                 u"Name="_qs +
                                 name + u"\nExec="_qs + escapeValue(execLineFor(programFile)) +
                                 u"\nX-GNOME-Autostart-enabled=true\n"_qs)
                                    .toUtf8();
    return QDir().mkpath(m_directory) && file.open(QIODevice::WriteOnly) &&
           file.write(contents) == contents.size() && file.commit();
}

bool LinuxAutostart::removeIfActive()
{
    return !isActive() || QFile::remove(filePath());
}

} // namespace tockwell::platform
