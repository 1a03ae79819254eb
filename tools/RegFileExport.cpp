#include "RegFile.h"
#include "RegFileText.h"
#include "settings/Store.h"

namespace tockwell::reg {

namespace {

/// A text in double quotes: "\\" and "\"" as the registry editor writes them, line breaks as
/// "\n" and "\r" so that the text stays on its line.
QString quotedText(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), u"\\\\"_qs);
    out.replace(QLatin1Char('"'), u"\\\""_qs);
    out.replace(QLatin1Char('\n'), u"\\n"_qs);
    out.replace(QLatin1Char('\r'), u"\\r"_qs);
    return QLatin1Char('"') + out + QLatin1Char('"');
}

/// "hex(N):" and the bytes, wrapped as the registry editor wraps them.
QString hexLine(const QString &prefix, const QByteArray &bytes)
{
    QString out = prefix;
    qsizetype column = prefix.size();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out += u"%1"_qs.arg(uchar(bytes[i]), 2, 16, QLatin1Char('0'));
        column += 2;
        if (i + 1 < bytes.size()) {
            out += QLatin1Char(',');
            if (++column > 76) {
                out += u"\\\r\n  "_qs;
                column = 2;
            }
        }
    }
    return out;
}

QString valueLine(const QString &name, const RawValue &value)
{
    const QString prefix = name.isEmpty() ? u"@="_qs : quotedText(name) + QLatin1Char('=');
    switch (value.type) {
    case regtype::Sz:
        // A text with control characters goes as its bytes: no editor or reader changes them.
        if (!hasControl(value.text))
            return prefix + quotedText(value.text);
        return hexLine(prefix + u"hex(1):"_qs, toUtf16Le(value.text + QChar(0)));
    case regtype::ExpandSz:
        return hexLine(prefix + u"hex(2):"_qs, toUtf16Le(value.text + QChar(0)));
    case regtype::Dword:
        return prefix + u"dword:%1"_qs.arg(value.number, 8, 16, QLatin1Char('0'));
    case regtype::Binary:
        return hexLine(prefix + u"hex:"_qs, value.bytes);
    default:
        return hexLine(prefix + u"hex(%1):"_qs.arg(value.type, 0, 16), value.bytes);
    }
}

/// Refuses a text that a registry file would not read back: half of a surrogate pair.
void checkWholeText(const QString &path, const QString &name, const QString &text)
{
    if (const auto at = unstorable(text))
        throw RegError(
            u"the value '%1' of key '%2' holds %3, which no registry file carries"_qs.arg(
                name, fullName(path), codePoint(text[*at])));
}

void exportTree(Store &store, const QString &path, QString &out)
{
    checkKeyPath(path);
    checkWholeText(path, QString(), path);
    store.openKey(path);
    out += u"[%1]\r\n"_qs.arg(fullName(path));
    for (const QString &name : store.valueNames()) {
        const auto value = store.readRaw(name);
        if (!value)
            continue;
        checkWholeText(path, name, name);
        checkWholeText(path, name, value->text);
        out += valueLine(name, *value) + u"\r\n"_qs;
    }
    out += u"\r\n"_qs;
    for (const QString &subkey : store.subkeyNames()) {
        // A key without a name (one named U+FEFF, which SQLite drops) would be this key again.
        if (subkey.isEmpty())
            throw RegError(u"the key '%1' has a subkey without a name"_qs.arg(fullName(path)));
        exportTree(store, subkeyPath(path, subkey), out);
        store.openKey(path);
    }
}

} // namespace

QByteArray exportKey(StoreFile &file, const QString &path)
{
    Store store(file);
    QString out = Header5.toString() + u"\r\n\r\n"_qs;
    exportTree(store, path, out);
    return QByteArray("\xff\xfe") + toUtf16Le(out);
}

} // namespace tockwell::reg
