#pragma once

#include "../Session.h"

#include <QDBusConnection>

class QDBusError;

namespace tockwell::platform {

/// Ending the session and the machine's power states through systemd-logind on the system bus.
/// Logind checks every request itself, so no privilege is taken first; `adjustPrivilege` only
/// tells whether this session may power the machine off.
class LinuxSession final : public Session
{
public:
    /// Talks to logind on `bus` (tests give a private one).
    explicit LinuxSession(const QDBusConnection &bus = QDBusConnection::systemBus());

    void exitSession(SessionEnd how) override;
    bool usesPrivileges() override;
    std::optional<Failure> adjustPrivilege(const QString &name, bool enable) override;
    std::optional<Failure> setPowerState(bool suspend, bool force) override;

private:
    QDBusConnection m_bus;
};

/// The stable code and description of a refusal, from a D-Bus error of the call to logind.
Failure logindFailure(const QString &errorName, const QString &message);

/// The refusal that logind's answer to a CanPowerOff-like question means, or nothing for "yes".
std::optional<Failure> logindAnswerFailure(const QString &answer);

} // namespace tockwell::platform
