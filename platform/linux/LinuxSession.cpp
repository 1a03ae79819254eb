#include "LinuxSession.h"

#include "Failures.h"
#include "LogindManager.h"

#include <QDBusError>
#include <QDBusPendingReply>

namespace tockwell::platform {
namespace {

const QString Service = u"org.freedesktop.login1"_qs;
const QString ManagerPath = u"/org/freedesktop/login1"_qs;
// Logind resolves "auto" to the caller's own session, or the user's graphical session when the
// caller runs outside of one.
const QString OwnSession = u"auto"_qs;
constexpr int CallTimeoutMs = 10000;

// The kinds of refusal, with codes and texts kept from the Windows errors of the same meaning.
Failure notSupported()
{
    return {50, u"The request is not supported."_qs};
}
Failure noLoginManager()
{
    return {1722, u"The login manager (systemd-logind) is not available."_qs};
}
Failure shutdownInProgress()
{
    return {1115, u"A system shutdown is in progress."_qs};
}

std::optional<Failure> failureOf(const QDBusPendingCall &call)
{
    QDBusPendingCall waited = call;
    waited.waitForFinished();
    if (!waited.isError())
        return std::nullopt;
    return logindFailure(waited.error().name(), waited.error().message());
}

} // namespace

LinuxSession::LinuxSession(const QDBusConnection &bus) : m_bus(bus) {}

void LinuxSession::exitSession(SessionEnd how)
{
    // Forced: nobody is asked, neither the running programs nor the user (interactive = false).
    LogindManager logind(Service, ManagerPath, m_bus);
    switch (how) {
    case SessionEnd::LogOff:
        logind.TerminateSession(OwnSession);
        break;
    case SessionEnd::Shutdown: // halting without power-off leaves nothing of use; see the docs
    case SessionEnd::PowerOff:
        logind.PowerOff(false);
        break;
    case SessionEnd::Reboot:
        logind.Reboot(false);
        break;
    }
}

bool LinuxSession::usesPrivileges()
{
    return false;
}

std::optional<Failure> LinuxSession::adjustPrivilege(const QString &name, bool enable)
{
    if (name != u"SeShutdownPrivilege"_qs)
        return Failure{1313, u"A specified privilege does not exist."_qs};
    if (!enable)
        return std::nullopt;
    if (!m_bus.isConnected())
        return noLoginManager();
    LogindManager logind(Service, ManagerPath, m_bus);
    logind.setTimeout(CallTimeoutMs);
    QDBusPendingReply<QString> answer = logind.CanPowerOff();
    if (const auto failure = failureOf(answer))
        return failure;
    return logindAnswerFailure(answer.value());
}

std::optional<Failure> LinuxSession::setPowerState(bool suspend, bool force)
{
    if (!m_bus.isConnected())
        return noLoginManager();
    LogindManager logind(Service, ManagerPath, m_bus);
    logind.setTimeout(CallTimeoutMs);
    const bool interactive = !force;
    return failureOf(suspend ? logind.Suspend(interactive) : logind.Hibernate(interactive));
}

Failure logindFailure(const QString &errorName, const QString &message)
{
    static const QStringList denied = {
        u"org.freedesktop.DBus.Error.AccessDenied"_qs,
        u"org.freedesktop.DBus.Error.AuthFailed"_qs,
        u"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"_qs,
        u"org.freedesktop.login1.BlockedByInhibitorLock"_qs,
    };
    static const QStringList unsupported = {
        u"org.freedesktop.DBus.Error.NotSupported"_qs,
        u"org.freedesktop.DBus.Error.UnknownMethod"_qs,
        u"org.freedesktop.DBus.Error.UnknownObject"_qs,
        u"org.freedesktop.DBus.Error.UnknownInterface"_qs,
        u"org.freedesktop.login1.SleepVerbNotSupported"_qs,
    };
    static const QStringList absent = {
        u"org.freedesktop.DBus.Error.ServiceUnknown"_qs,
        u"org.freedesktop.DBus.Error.NameHasNoOwner"_qs,
        u"org.freedesktop.DBus.Error.FileNotFound"_qs,
        u"org.freedesktop.DBus.Error.NoServer"_qs,
        u"org.freedesktop.DBus.Error.Disconnected"_qs,
        u"org.freedesktop.DBus.Error.SpawnFailed"_qs,
    };
    static const QStringList late = {
        u"org.freedesktop.DBus.Error.NoReply"_qs,
        u"org.freedesktop.DBus.Error.Timeout"_qs,
        u"org.freedesktop.DBus.Error.TimedOut"_qs,
    };
    if (denied.contains(errorName))
        return accessDenied();
    if (unsupported.contains(errorName))
        return notSupported();
    if (absent.contains(errorName))
        return noLoginManager();
    if (late.contains(errorName))
        return timedOut();
    if (errorName == u"org.freedesktop.login1.OperationInProgress"_qs)
        return shutdownInProgress();
    // Anything else keeps logind's own words, under one code.
    return {31, message.isEmpty() ? errorName : message};
}

std::optional<Failure> logindAnswerFailure(const QString &answer)
{
    if (answer == u"yes"_qs)
        return std::nullopt;
    if (answer == u"na"_qs)
        return notSupported();
    // "no", and "challenge": a non-interactive request cannot answer the challenge.
    return accessDenied();
}

} // namespace tockwell::platform
