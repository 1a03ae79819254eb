#include "TimeEntry.h"

#include "core/Error.h"

#include <QStringList>

namespace tockwell {

namespace {

/// A part of a time of day: one or more ASCII digits with a value up to `max`.
std::optional<int> clockPart(QStringView text, int max)
{
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > max)
            return std::nullopt;
    }
    return value;
}

std::optional<int> countdownPart(const QString &text)
{
    try {
        const int value = parseInteger(text);
        if (value < 0)
            return std::nullopt;
        return value;
    } catch (const ConvertError &) {
        return std::nullopt;
    }
}

} // namespace

std::optional<TimeParts> clockTimeFromText(const QString &text)
{
    const QList<QStringView> parts = QStringView(text).split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    const auto hours = clockPart(parts[0], 23);
    const auto minutes = clockPart(parts[1], 59);
    const auto seconds = parts.size() == 3 ? clockPart(parts[2], 59) : std::optional<int>(0);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return TimeParts{*hours, *minutes, *seconds};
}

std::optional<TimeParts> countdownFromText(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    const auto hours = countdownPart(parts.value(0));
    const auto minutes = countdownPart(parts.value(1));
    const auto seconds = countdownPart(parts.value(2));
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return TimeParts{*hours, *minutes, *seconds};
}

QString timeEntryText(int hours, int minutes, int seconds)
{
    return u"%1:%2:%3"_qs.arg(hours).arg(minutes).arg(seconds);
}

} // namespace tockwell
