#pragma once

#include "core/Error.h"
#include "settings/RegistryValue.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

namespace tockwell {
class StoreFile;
}

namespace tockwell::reg {

/// The one root key that the store keeps.
inline constexpr QStringView RootName = u"HKEY_CURRENT_USER";

/// How deep a key may lie below the root, as in Windows' registry: deeper trees would make
/// listing and exporting them slow beyond use.
inline constexpr qsizetype MaxKeyDepth = 512;

/// A key or file that the tool refuses; `text` is what the user is told.
class RegError final : public Error
{
public:
    using Error::Error;
};

/// The store path below the root of a key written as "HKCU\…" or "HKEY_CURRENT_USER\…" (in any
/// letter case). Any other root, or a key deeper than MaxKeyDepth, throws RegError.
QString storePath(const QString &key);

/// Throws RegError when a name on the key path holds a control character (U+0000 to U+001F,
/// U+007F). Key names are printable characters: a key line of a registry file cannot carry
/// anything else, since "\" separates the names and there is no other escape, so the tool
/// creates no such key and cannot export one.
void checkKeyPath(const QString &path);

/// The full name of a store path, as the user writes it: "HKEY_CURRENT_USER\…".
inline QString fullName(const QString &path)
{
    return path.isEmpty() ? RootName.toString() : RootName.toString() + QLatin1Char('\\') + path;
}

/// The path of a subkey.
inline QString subkeyPath(const QString &path, const QString &subkey)
{
    return path.isEmpty() ? subkey : path + QLatin1Char('\\') + subkey;
}

/// One change that an imported file makes, in file order.
struct RegChange
{
    enum Kind
    {
        CreateKey,
        DeleteKey,
        SetValue,
        DeleteValue
    };
    Kind kind = CreateKey;
    QString key; ///< store path below the root
    QString name;
    RawValue value;
};

/// Reads a registry file of either format that Windows' registry editor writes:
/// "Windows Registry Editor Version 5.00" (UTF-16LE with a byte-order mark, or UTF-8) and
/// "REGEDIT4" (Windows-1250). In quoted texts "\n" and "\r" are line breaks, any other
/// character after "\" stands for itself. A malformed file, text that is not valid UTF-16 or
/// UTF-8, and U+FFFE or U+FFFF (which the store cannot keep) throw RegError naming the line.
std::vector<RegChange> parseRegFile(const QByteArray &bytes);

/// Applies the changes of a file in one transaction: all of them, or none.
void applyChanges(StoreFile &file, const std::vector<RegChange> &changes);

/// The key at `path` with all its values and subkeys as a "Windows Registry Editor Version 5.00"
/// file: UTF-16LE with a byte-order mark, CR LF line ends. Texts with control characters are
/// written as hex(1) data, line breaks in value names as "\n" and "\r", so that the file reads
/// back into the same tree. A key name with a control character, or a name or text with half of
/// a surrogate pair (which the store keeps only at the end of a text), throws RegError.
QByteArray exportKey(StoreFile &file, const QString &path);

/// Text in the Windows-1250 code page.
QString fromWindows1250(const QByteArray &bytes);

} // namespace tockwell::reg
