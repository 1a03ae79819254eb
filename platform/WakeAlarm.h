#pragma once

#include "Session.h"

#include <QtGlobal>

#include <optional>

namespace tockwell::platform {

/// The time at which the machine's real-time clock wakes it from sleep.
class WakeAlarm
{
public:
    WakeAlarm() = default;
    WakeAlarm(const WakeAlarm &) = delete;
    WakeAlarm &operator=(const WakeAlarm &) = delete;
    virtual ~WakeAlarm() = default;

    /// Whether this session may set the wake time without being asked for a password; nothing
    /// when it may, else why not. Asks no question of the user.
    virtual std::optional<Failure> canWake() = 0;

    /// Wakes the machine at `epochSeconds` (seconds since 1970 UTC, within the next 48 hours)
    /// when it sleeps then, replacing any earlier wake time; nothing on success.
    virtual std::optional<Failure> setWakeTime(qint64 epochSeconds) = 0;

    /// Clears the wake time; nothing on success.
    virtual std::optional<Failure> clearWakeTime() = 0;
};

} // namespace tockwell::platform
