// The clock-time and countdown parsers on any text: they give nothing or parts in range, and
// what they read survives the round trip through the text that Start writes.
#include "FuzzCheck.h"
#include "settings/TimeEntry.h"

using namespace tockwell;
using tockwell::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::textOf(data, size);

    if (const auto clock = clockTimeFromText(text)) {
        check(clock->hours >= 0 && clock->hours <= 23, "clock hours in 0-23", text);
        check(clock->minutes >= 0 && clock->minutes <= 59, "clock minutes in 0-59", text);
        check(clock->seconds >= 0 && clock->seconds <= 59, "clock seconds in 0-59", text);
        const QString written = timeEntryText(clock->hours, clock->minutes, clock->seconds);
        check(clockTimeFromText(written) == clock, "clock time round trip", text);
        check(countdownFromText(written) == clock, "a clock time is a countdown", text);
    }

    if (const auto countdown = countdownFromText(text)) {
        check(countdown->hours >= 0 && countdown->minutes >= 0 && countdown->seconds >= 0,
              "countdown parts not negative", text);
        const QString written =
            timeEntryText(countdown->hours, countdown->minutes, countdown->seconds);
        check(countdownFromText(written) == countdown, "countdown round trip", text);
    }
    return 0;
}
