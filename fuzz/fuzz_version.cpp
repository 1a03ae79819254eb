// The version comparison on any two texts (the input split at its first newline), against a
// plain reading of the rule: four dot-separated decimal numbers, compared part by part; a text
// that is not one is never newer, and neither is an equal version.
#include "FuzzCheck.h"
#include "core/UpdateFile.h"

#include <QStringList>

#include <array>
#include <limits>
#include <optional>

using namespace tockwell;
using tockwell::fuzz::check;

namespace {

std::optional<std::array<qint64, 4>> reference(const QString &version)
{
    const QStringList parts = version.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    std::array<qint64, 4> numbers{};
    for (int i = 0; i < 4; ++i) {
        const QString &part = parts[i];
        if (part.isEmpty())
            return std::nullopt;
        qint64 value = 0;
        for (const QChar c : part) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            value = value * 10 + (c.unicode() - u'0');
            if (value > std::numeric_limits<int>::max())
                return std::nullopt;
        }
        numbers[size_t(i)] = value;
    }
    return numbers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::textOf(data, size);
    const qsizetype newline = text.indexOf(u'\n');
    const QString newest = newline < 0 ? text : text.left(newline);
    const QString current = newline < 0 ? u"1.5.0.17"_qs : text.mid(newline + 1);

    const auto a = reference(newest), b = reference(current);
    const bool expected = a && b && *a > *b;
    check(isNewerVersion(newest, current) == expected, "newer as the rule says", text);
    check(!isNewerVersion(newest, current) || !isNewerVersion(current, newest),
          "two versions each newer than the other", text);
    check(!isNewerVersion(newest, newest), "a version newer than itself", newest);
    return 0;
}
