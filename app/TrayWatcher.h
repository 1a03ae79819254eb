#pragma once

#include <QDBusServiceWatcher>
#include <QObject>

#include <chrono>

namespace tockwell {

/// Tells when a tray comes to the desktop after the program started, as it does when the
/// program starts at login before the panel: an X11 tray manager taking the selection
/// `_NET_SYSTEM_TRAY_S<screen>`, or a StatusNotifier watcher registering on the session bus.
/// It waits for events; it does not poll.
class TrayWatcher final : public QObject
{
    Q_OBJECT

public:
    explicit TrayWatcher(QObject *parent = nullptr);

    /// How long start-up waits for a tray that is not there yet before it decides that the
    /// desktop has none: 15 s, or the milliseconds in `TOCKWELL_TRAY_WAIT_MS` (for tests).
    static std::chrono::milliseconds startupWait();

signals:
    /// A tray manager or a StatusNotifier watcher has appeared (or changed).
    void trayChanged();

private:
    QDBusServiceWatcher m_statusNotifierWatcher;
};

} // namespace tockwell
