#include "LinuxSleep.h"

#include "LogindManager.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingReply>

namespace tockwell::platform {
namespace {

const QString Service = u"org.freedesktop.login1"_qs;
const QString ManagerPath = u"/org/freedesktop/login1"_qs;
// Logind waits for a delay lock at most InhibitDelayMaxSec (5 s by default) before a sleep, so
// a request that takes longer would come too late anyway.
constexpr int CallTimeoutMs = 5000;

} // namespace

LinuxSleep::LinuxSleep(const QDBusConnection &bus)
    : m_bus(bus), m_logind(std::make_unique<LogindManager>(Service, ManagerPath, m_bus))
{
    m_logind->setTimeout(CallTimeoutMs);
    QObject::connect(m_logind.get(), &LogindManager::PrepareForSleep, m_logind.get(),
                     [this](bool goingToSleep) {
                         if (m_listener)
                             m_listener(goingToSleep);
                     });
}

LinuxSleep::~LinuxSleep() = default;

bool LinuxSleep::watchSleep(Listener listener)
{
    m_listener = std::move(listener);
    if (!m_bus.isConnected())
        return false;
    // Heard from now on should logind come later; announced only while it is there.
    return m_bus.interface() && m_bus.interface()->isServiceRegistered(Service).value();
}

bool LinuxSleep::inhibitSleep(const QString &who, const QString &why)
{
    if (m_lock.isValid())
        return true;
    if (!m_bus.isConnected())
        return false;
    QDBusPendingReply<QDBusUnixFileDescriptor> reply =
        m_logind->Inhibit(u"sleep"_qs, who, why, u"delay"_qs);
    reply.waitForFinished();
    if (reply.isError() || !reply.value().isValid())
        return false;
    m_lock = reply.value();
    return true;
}

void LinuxSleep::releaseSleep()
{
    // Logind lets the sleep go on once every copy of the descriptor is closed.
    m_lock = QDBusUnixFileDescriptor();
}

} // namespace tockwell::platform
