#pragma once

#include <QString>

namespace tockwell {
namespace platform {
class OpticalDrives;
class Session;
} // namespace platform

/// Suspends (`suspend`) or hibernates the machine, taking the shutdown privilege first where the
/// system has privileges. Throws SystemError when the system refuses a step.
void enterPowerState(platform::Session &session, bool suspend, bool force);

/// Takes or gives back the named privilege; true when the system did it.
bool setPrivilege(platform::Session &session, const QString &name, bool enable);

/// Opens the tray of `drive` when `operation` is "1", else closes it.
void moveCdTray(platform::OpticalDrives &drives, const QString &drive, const QString &operation);

inline constexpr auto ShutdownPrivilege = u"SeShutdownPrivilege";

} // namespace tockwell
