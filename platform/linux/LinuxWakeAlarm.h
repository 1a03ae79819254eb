#pragma once

#include "../WakeAlarm.h"

#include <QStringList>

namespace tockwell::platform {

/// The programs and files that setting the wake time uses.
struct WakeTools
{
    QString pkexec;   ///< runs the helper as root once polkit allows it
    QString pkcheck;  ///< asks polkit without running anything; empty: not asked
    QString helper;   ///< tockwell-wake: "set EPOCH" or "clear"
    QString wakeFile; ///< the real-time clock's wake alarm, which the helper writes
    QString action;   ///< the polkit action of the helper

    /// The installed ones: /usr/bin/pkexec, /usr/bin/pkcheck, the helper and action the build
    /// was configured with, /sys/class/rtc/rtc0/wakealarm.
    static WakeTools installed();
};

/// The wake time of the first real-time clock, written by the small helper program
/// tockwell-wake, which pkexec starts as root when polkit allows it (without a password for the
/// active local session). The helper is started directly with its argument list, never through
/// a shell.
class LinuxWakeAlarm final : public WakeAlarm
{
public:
    explicit LinuxWakeAlarm(WakeTools tools = WakeTools::installed());

    std::optional<Failure> canWake() override;
    std::optional<Failure> setWakeTime(qint64 epochSeconds) override;
    std::optional<Failure> clearWakeTime() override;

    /// The longest wait for pkexec or pkcheck; logind holds a sleep for 5 s at most.
    static constexpr int TimeoutMs = 3000;

private:
    std::optional<Failure> runHelper(const QStringList &arguments);

    WakeTools m_tools;
};

} // namespace tockwell::platform
