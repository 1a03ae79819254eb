#pragma once

#include <QByteArray>
#include <QString>

namespace tockwell {

/// The type codes of stored values. They are the Windows registry's, so that exported files
/// read the same on both systems.
namespace regtype {
inline constexpr int None = 0;     ///< the value does not exist
inline constexpr int Sz = 1;       ///< REG_SZ: a text
inline constexpr int ExpandSz = 2; ///< REG_EXPAND_SZ: a text with %VARIABLES%
inline constexpr int Binary = 3;   ///< REG_BINARY: bytes
inline constexpr int Dword = 4;    ///< REG_DWORD: a 32-bit number
inline constexpr int MultiSz = 7;  ///< REG_MULTI_SZ: kept as UTF-16LE bytes
} // namespace regtype

/// One value as stored, whatever its type: `text` for REG_SZ and REG_EXPAND_SZ, `number` for
/// REG_DWORD, `bytes` for every other type.
struct RawValue
{
    int type = regtype::None;
    QString text;
    quint32 number = 0;
    QByteArray bytes;

    friend bool operator==(const RawValue &, const RawValue &) = default;
};

} // namespace tockwell
