#pragma once

#include "../Sleep.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>

#include <memory>

class LogindManager;

namespace tockwell::platform {

/// Sleep through systemd-logind: its PrepareForSleep signal, and a delay inhibitor lock for
/// "sleep" held as the file descriptor that logind hands out.
class LinuxSleep final : public Sleep
{
public:
    /// Talks to logind on `bus` (tests give a private one).
    explicit LinuxSleep(const QDBusConnection &bus = QDBusConnection::systemBus());
    ~LinuxSleep() override;

    bool watchSleep(Listener listener) override;
    bool inhibitSleep(const QString &who, const QString &why) override;
    void releaseSleep() override;

private:
    QDBusConnection m_bus;
    std::unique_ptr<LogindManager> m_logind;
    Listener m_listener;
    QDBusUnixFileDescriptor m_lock;
};

} // namespace tockwell::platform
