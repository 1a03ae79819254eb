#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace tockwell {

/// Hours, minutes and seconds of a time entry.
struct TimeParts
{
    int hours = 0;
    int minutes = 0;
    int seconds = 0;

    friend bool operator==(const TimeParts &, const TimeParts &) = default;
};

/// The error box of both time parsers.
inline constexpr QStringView TimeFormatErrorText = u"Wskazany format czasu jest niepoprawny !!!";
inline constexpr QStringView TimeFormatErrorCaption = u"BŁĄD !!!";

/// A time of day as entered in the clock-time list: hours ":" minutes, optionally ":" seconds,
/// with hours 0–23 and minutes and seconds 0–59; leading zeros are optional ("07:00:00" and
/// "7:5" both read). Seconds are 0 when absent. Anything else gives nothing.
std::optional<TimeParts> clockTimeFromText(const QString &text);

/// A countdown as entered in the countdown list: the text before the first ":" is the hours,
/// the text up to the second ":" the minutes, the text up to a third ":" the seconds; a third ":"
/// and what follows it are ignored. Each part must be a whole number; the parts have no upper
/// bound. A missing, empty, non-numeric or negative part gives nothing.
std::optional<TimeParts> countdownFromText(const QString &text);

/// The text Start writes into the time lists: decimal numbers without leading zeros joined by
/// ":" (7, 5, 0 gives "7:5:0").
QString timeEntryText(int hours, int minutes, int seconds);

} // namespace tockwell
