#include "RegFile.h"

#include "RegFileText.h"
#include "settings/Store.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace tockwell::reg {

namespace {

RegError lineError(int line, const QString &what)
{
    return RegError(u"line %1: %2"_qs.arg(line).arg(what));
}

/// The line (from 1) of `text` that holds the character at `index`.
int lineAt(QStringView text, qsizetype index)
{
    return int(text.left(index).count(QLatin1Char('\n'))) + 1;
}

/// One logical line of the file (continuations joined) with the number of its first line.
struct Line
{
    int number;
    QString text;
};

/// Refuses a name or text that begins with U+FEFF: the store drops it there (SQLite reads it as
/// a byte-order mark), so the name or text would silently change, or a key lose its name.
void checkNoLeadingBom(const Line &line, const QString &text)
{
    if (text.startsWith(QChar(0xfeff)))
        throw lineError(line.number,
                        u"a name or text begins with U+FEFF, which the store cannot keep"_qs);
}

std::vector<Line> logicalLines(const QString &text)
{
    std::vector<Line> lines;
    const QStringList physical = text.split(QLatin1Char('\n'));
    for (int i = 0; i < physical.size(); ++i) {
        QString line = physical[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int number = i + 1;
        // Hex data goes on over several lines, each but the last ending in "\".
        while (line.trimmed().endsWith(QLatin1Char('\\')) && i + 1 < physical.size() &&
               line.contains(u"=hex"_qs)) {
            line = line.trimmed();
            line.chop(1);
            QString next = physical[++i];
            if (next.endsWith(QLatin1Char('\r')))
                next.chop(1);
            line += next.trimmed();
        }
        lines.push_back({number, line});
    }
    return lines;
}

/// Reads a quoted text starting at `pos` (at the opening quote); `pos` ends after the closing one.
std::optional<QString> quoted(const QString &text, qsizetype &pos)
{
    if (pos >= text.size() || text[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString result;
    for (++pos; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return result;
        }
        if (c == QLatin1Char('\\') && pos + 1 < text.size()) {
            const QChar escaped = text[++pos];
            result += escaped == u'n' ? QChar(u'\n') : escaped == u'r' ? QChar(u'\r') : escaped;
        } else
            result += c;
    }
    return std::nullopt;
}

std::optional<QByteArray> hexBytes(QStringView text)
{
    QByteArray bytes;
    for (QStringView part : text.split(QLatin1Char(','))) {
        part = part.trimmed();
        if (part.isEmpty() && text.trimmed().isEmpty())
            break;
        bool ok = false;
        const uint byte = part.toUInt(&ok, 16);
        if (!ok || part.size() > 2)
            return std::nullopt;
        bytes.append(char(byte));
    }
    return bytes;
}

/// The text of REG_SZ or REG_EXPAND_SZ data: without its terminating NUL, but with any NUL
/// inside, which the export writes as hex data so that such a text survives the round trip.
QString withoutTerminator(QString text)
{
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

/// The text of UTF-16LE bytes; half a character or a lone surrogate throws, naming `line`.
QString checkedUtf16(const QByteArray &bytes, int line)
{
    if (bytes.size() % 2 != 0)
        throw lineError(line, u"the UTF-16 text has an odd number of bytes"_qs);
    const QString text = fromUtf16Le(bytes);
    if (const auto at = unstorable(text))
        throw lineError(line, u"the UTF-16 text holds %1, a lone surrogate or no character"_qs.arg(
                                  codePoint(text[*at])));
    return text;
}

/// The value of a "hex(N):" line, by type: texts are decoded, a 4-byte REG_DWORD becomes a
/// number, everything else stays bytes (REG_MULTI_SZ as UTF-16LE).
RawValue hexValue(int type, const QByteArray &bytes, bool ansi, int line)
{
    RawValue value;
    value.type = type;
    if (type == regtype::Sz || type == regtype::ExpandSz)
        value.text = withoutTerminator(ansi ? fromWindows1250(bytes) : checkedUtf16(bytes, line));
    else if (type == regtype::Dword && bytes.size() == 4)
        value.number = quint32(uchar(bytes[0])) | quint32(uchar(bytes[1])) << 8 |
                       quint32(uchar(bytes[2])) << 16 | quint32(uchar(bytes[3])) << 24;
    else if (type == regtype::Dword)
        value = RawValue{regtype::Binary, {}, 0, bytes};
    else if (type == regtype::MultiSz && ansi)
        value.bytes = toUtf16Le(fromWindows1250(bytes));
    else
        value.bytes = bytes;
    return value;
}

RawValue parseData(const Line &line, QStringView data, bool ansi)
{
    if (data.startsWith(QLatin1Char('"'))) {
        const QString text = data.toString();
        qsizetype pos = 0;
        const auto string = quoted(text, pos);
        if (!string || !QStringView(text).mid(pos).trimmed().isEmpty())
            throw lineError(line.number, u"the text has no closing quote"_qs);
        return RawValue{regtype::Sz, *string, 0, {}};
    }
    if (data.startsWith(u"dword:"_qs, Qt::CaseInsensitive)) {
        bool ok = false;
        const QStringView digits = data.mid(6).trimmed();
        const quint32 number = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8)
            throw lineError(line.number, u"a dword needs up to eight hexadecimal digits"_qs);
        return RawValue{regtype::Dword, {}, number, {}};
    }
    int type = regtype::Binary;
    QStringView rest;
    if (data.startsWith(u"hex:"_qs, Qt::CaseInsensitive)) {
        rest = data.mid(4);
    } else if (data.startsWith(u"hex("_qs, Qt::CaseInsensitive) && data.contains(u"):"_qs)) {
        const qsizetype close = data.indexOf(u"):"_qs);
        bool ok = false;
        type = data.mid(4, close - 4).toInt(&ok, 16);
        if (!ok || type < 0)
            throw lineError(line.number, u"unknown value type"_qs);
        rest = data.mid(close + 2);
    } else {
        throw lineError(line.number, u"unknown kind of data"_qs);
    }
    const auto bytes = hexBytes(rest);
    if (!bytes)
        throw lineError(line.number, u"bad hexadecimal bytes"_qs);
    return hexValue(type, *bytes, ansi, line.number);
}

RegChange parseValueLine(const Line &line, const QString &key, bool ansi)
{
    RegChange change;
    change.key = key;
    const QString text = line.text.trimmed();
    qsizetype pos = 0;
    if (text.startsWith(QLatin1Char('@'))) {
        pos = 1;
    } else {
        const auto name = quoted(text, pos);
        if (!name)
            throw lineError(line.number, u"expected a key in [brackets] or a value"_qs);
        change.name = *name;
    }
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    if (pos >= text.size() || text[pos] != QLatin1Char('='))
        throw lineError(line.number, u"expected \"=\" after the value name"_qs);
    const QStringView data = QStringView(text).mid(pos + 1).trimmed();
    if (data == u"-") {
        change.kind = RegChange::DeleteValue;
        return change;
    }
    change.kind = RegChange::SetValue;
    change.value = parseData(line, data, ansi);
    return change;
}

/// The text of a UTF-16LE file; half a character or a lone surrogate throws with its line.
QString fromUtf16LeFile(const QByteArray &bytes)
{
    const QString text = fromUtf16Le(bytes);
    if (bytes.size() % 2 != 0)
        throw lineError(lineAt(text, text.size()),
                        u"the UTF-16 file ends in half a character (an odd number of bytes)"_qs);
    if (const auto at = unstorable(text))
        throw lineError(lineAt(text, *at), u"%1, a lone UTF-16 surrogate or no character"_qs.arg(
                                               codePoint(text[*at])));
    return text;
}

/// The text of a UTF-8 file; a byte sequence that is no UTF-8 throws with its line.
QString fromUtf8File(const QByteArray &bytes)
{
    constexpr auto flags =
        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder decoder(QStringConverter::Utf8, flags);
    QString text = decoder(bytes);
    if (!decoder.hasError()) {
        if (const auto at = unstorable(text))
            throw lineError(lineAt(text, *at), u"%1, no character"_qs.arg(codePoint(text[*at])));
        return text;
    }
    int number = 1;
    for (const QByteArray &line : bytes.split('\n')) {
        QStringDecoder lineDecoder(QStringConverter::Utf8, flags);
        (void)QString(lineDecoder(line));
        if (lineDecoder.hasError())
            break;
        ++number;
    }
    throw lineError(number, u"invalid UTF-8"_qs);
}

QString decodeFile(const QByteArray &bytes, bool &ansi)
{
    ansi = false;
    if (bytes.startsWith("\xff\xfe"))
        return fromUtf16LeFile(bytes.mid(2));
    if (bytes.startsWith("\xef\xbb\xbf"))
        return fromUtf8File(bytes.mid(3));
    if (bytes.startsWith("REGEDIT4")) {
        ansi = true;
        return fromWindows1250(bytes);
    }
    return fromUtf8File(bytes);
}

} // namespace

QString storePath(const QString &key)
{
    const qsizetype slash = key.indexOf(QLatin1Char('\\'));
    const QString root = slash < 0 ? key : key.left(slash);
    if (root.compare(u"HKCU"_qs, Qt::CaseInsensitive) != 0 &&
        root.compare(RootName, Qt::CaseInsensitive) != 0)
        throw RegError(
            u"'%1': only HKCU (HKEY_CURRENT_USER) is kept in Tockwell's store"_qs.arg(root));
    const QStringList parts = slash < 0 ? QStringList() : keyPathParts(key.mid(slash + 1));
    if (parts.size() > MaxKeyDepth)
        throw RegError(
            u"the key is %1 levels deep; keys go at most %2 levels deep"_qs.arg(parts.size())
                .arg(MaxKeyDepth));
    return parts.join(QLatin1Char('\\'));
}

void checkKeyPath(const QString &path)
{
    const auto control = std::find_if(path.begin(), path.end(), isControl);
    if (control == path.end())
        return;
    QString shown = path;
    std::replace_if(shown.begin(), shown.end(), isControl, QLatin1Char('?'));
    throw RegError(u"the key name '%1' holds the control character U+%2; key names are "
                   u"printable characters"_qs.arg(
                       fullName(shown), u"%1"_qs.arg(control->unicode(), 4, 16, QLatin1Char('0'))));
}

std::vector<RegChange> parseRegFile(const QByteArray &bytes)
{
    bool ansi = false;
    const std::vector<Line> lines = logicalLines(decodeFile(bytes, ansi));
    std::vector<RegChange> changes;
    bool headerSeen = false;
    std::optional<QString> key;
    for (const Line &line : lines) {
        const QString text = line.text.trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char(';')))
            continue;
        if (!headerSeen) {
            if (text != (ansi ? Header4 : Header5))
                throw lineError(
                    line.number,
                    u"not a registry file (expected \"%1\" or \"%2\")"_qs.arg(Header5).arg(
                        Header4));
            headerSeen = true;
            continue;
        }
        if (text.startsWith(QLatin1Char('['))) {
            if (!text.endsWith(QLatin1Char(']')))
                throw lineError(line.number, u"the key has no closing \"]\""_qs);
            const bool remove = text.startsWith(u"[-"_qs);
            const QString name = text.mid(remove ? 2 : 1, text.size() - (remove ? 3 : 2));
            try {
                key = storePath(name);
            } catch (const RegError &e) {
                throw lineError(line.number, e.text());
            }
            if (key->isEmpty())
                throw lineError(line.number, u"the root key itself cannot be changed"_qs);
            try {
                if (!remove)
                    checkKeyPath(*key);
            } catch (const RegError &e) {
                throw lineError(line.number, e.text());
            }
            for (const QString &part : keyPathParts(*key))
                checkNoLeadingBom(line, part);
            changes.push_back({remove ? RegChange::DeleteKey : RegChange::CreateKey, *key, {}, {}});
            if (remove)
                key.reset();
            continue;
        }
        if (!key)
            throw lineError(line.number, u"a value outside of a key"_qs);
        changes.push_back(parseValueLine(line, *key, ansi));
        checkNoLeadingBom(line, changes.back().name);
        checkNoLeadingBom(line, changes.back().value.text);
    }
    if (!headerSeen)
        throw lineError(1, u"the file is empty"_qs);
    return changes;
}

void applyChanges(StoreFile &file, const std::vector<RegChange> &changes)
{
    StoreTransaction transaction(file);
    Store store(file);
    for (const RegChange &change : changes) {
        switch (change.kind) {
        case RegChange::CreateKey:
            if (!store.openKey(change.key))
                throw StoreError::withText(u"Failed to create key '%1'"_qs.arg(change.key));
            break;
        case RegChange::DeleteKey: {
            QStringList parts = keyPathParts(change.key);
            const QString last = parts.takeLast();
            if (store.keyExists(change.key)) {
                store.openKey(parts.join(QLatin1Char('\\')));
                store.deleteSubkey(last);
            }
            break;
        }
        case RegChange::SetValue:
            store.openKey(change.key);
            store.writeRaw(change.name, change.value);
            break;
        case RegChange::DeleteValue:
            store.openKey(change.key);
            store.deleteValue(change.name);
            break;
        }
    }
    transaction.commit();
}

} // namespace tockwell::reg
