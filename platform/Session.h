#pragma once

#include <QString>

#include <optional>

namespace tockwell::platform {

/// How a session ends. The values are the Windows flags; every end is forced (the running
/// programs are not asked).
enum class SessionEnd
{
    LogOff = 0,
    Shutdown = 1,
    Reboot = 2,
    PowerOff = 8
};

/// A refused operating-system request: a stable code per kind of refusal and its description.
struct Failure
{
    int code = 0;
    QString description;
};

/// Ending the session and changing the machine's power state.
class Session
{
public:
    Session() = default;
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;
    virtual ~Session() = default;

    /// Ends the session or the machine's run without asking the running programs. Returns at
    /// once; a failure is not reported.
    virtual void exitSession(SessionEnd how) = 0;

    /// Whether power changes need a privilege to be taken first.
    virtual bool usesPrivileges() = 0;

    /// Takes (`enable`) or gives back the named privilege; nothing on success.
    virtual std::optional<Failure> adjustPrivilege(const QString &name, bool enable) = 0;

    /// Suspends (`suspend`) or hibernates the machine; nothing on success.
    virtual std::optional<Failure> setPowerState(bool suspend, bool force) = 0;
};

} // namespace tockwell::platform
