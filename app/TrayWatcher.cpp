#include "TrayWatcher.h"

#include <QDBusConnection>
#include <QGuiApplication>

namespace tockwell {
namespace {

constexpr std::chrono::milliseconds DefaultStartupWait{15000};

// The X11 platform plugin announces a new tray manager (the MANAGER message of the tray
// selection on the root window) through this signal of its native interface, the one Qt's own
// tray icon follows to dock again. The interface is a QObject of the plugin, reachable only
// under its QPA type, hence the cast to its base.
void connectX11TrayManager(TrayWatcher &watcher)
{
    if (QGuiApplication::platformName() != u"xcb"_qs)
        return;
    auto *native = reinterpret_cast<QObject *>(QGuiApplication::platformNativeInterface());
    if (native)
        QObject::connect(native, SIGNAL(systemTrayWindowChanged(QScreen *)), &watcher,
                         SIGNAL(trayChanged()));
}

} // namespace

TrayWatcher::TrayWatcher(QObject *parent)
    : QObject(parent),
      m_statusNotifierWatcher(u"org.kde.StatusNotifierWatcher"_qs, QDBusConnection::sessionBus(),
                              QDBusServiceWatcher::WatchForRegistration)
{
    connect(&m_statusNotifierWatcher, &QDBusServiceWatcher::serviceRegistered, this,
            &TrayWatcher::trayChanged);
    connectX11TrayManager(*this);
}

std::chrono::milliseconds TrayWatcher::startupWait()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("TOCKWELL_TRAY_WAIT_MS", &ok);
    return ok && fromEnvironment >= 0 ? std::chrono::milliseconds(fromEnvironment)
                                      : DefaultStartupWait;
}

} // namespace tockwell
