#pragma once

#include "settings/Store.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace tockwell::reg {

/// The one root key that the store keeps.
inline constexpr QStringView RootName = u"HKEY_CURRENT_USER";

/// A key or file that the tool refuses; `text` is what the user is told.
class RegError final : public Error
{
public:
    using Error::Error;
};

/// The store path below the root of a key written as "HKCU\…" or "HKEY_CURRENT_USER\…" (in any
/// letter case). Any other root throws RegError.
QString storePath(const QString &key);

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
/// "REGEDIT4" (Windows-1250). A malformed file throws RegError naming the line.
std::vector<RegChange> parseRegFile(const QByteArray &bytes);

/// Applies the changes of a file in one transaction: all of them, or none.
void applyChanges(StoreFile &file, const std::vector<RegChange> &changes);

/// The key at `path` with all its values and subkeys as a "Windows Registry Editor Version 5.00"
/// file: UTF-16LE with a byte-order mark, CR LF line ends.
QByteArray exportKey(StoreFile &file, const QString &path);

/// Text in the Windows-1250 code page.
QString fromWindows1250(const QByteArray &bytes);

} // namespace tockwell::reg
