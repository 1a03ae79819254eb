#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

/// What the fuzz targets share: turning libFuzzer's bytes into the program's types, and
/// checking a property of the code under test. A failed check aborts, which libFuzzer reports
/// as a crash and keeps the input.
namespace tockwell::fuzz {

/// The bytes as they are (no copy is kept beyond the call).
inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

/// The bytes read as UTF-8, as text typed or pasted by the user arrives.
inline QString textOf(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

/// Aborts with `what` and the text involved when `condition` does not hold.
inline void check(bool condition, const char *what, const QString &text = QString())
{
    if (condition)
        return;
    std::fprintf(stderr, "property failed: %s [%s]\n", what, text.toUtf8().constData());
    std::abort();
}

} // namespace tockwell::fuzz
