#pragma once

// The texts of registry files, shared by their reading and their writing: the headers, the
// encodings and the characters that a file or the store cannot carry.
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace tockwell::reg {

inline constexpr QStringView Header5 = u"Windows Registry Editor Version 5.00";
inline constexpr QStringView Header4 = u"REGEDIT4";

/// The index of the first character in `text` that the store cannot keep, if any: half of a
/// surrogate pair standing alone (no character at all), or U+FFFE or U+FFFF (SQLite turns them
/// into U+FFFD, and a value so named could not be found again by its name).
std::optional<qsizetype> unstorable(QStringView text);

/// "U+XXXX" for a character.
QString codePoint(QChar c);

/// Whether `c` is a control character (U+0000 to U+001F, U+007F).
bool isControl(QChar c);
bool hasControl(QStringView text);

/// Text from UTF-16LE bytes (an odd last byte is left out) and back.
QString fromUtf16Le(const QByteArray &bytes);
QByteArray toUtf16Le(const QString &text);

} // namespace tockwell::reg
