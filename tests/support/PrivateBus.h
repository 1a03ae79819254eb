#pragma once

// A private D-Bus daemon that stands in for the session bus or the system bus, for the tests
// that run a compositor or python3-dbusmock's fakes on it: the machine's own services are never
// reached.
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace tockwell::test {

inline const QString Python = u"/usr/bin/python3"_qs;

/// Empty when dbus-daemon and python3-dbusmock are both installed, else what is missing.
inline QString missingDbusMock()
{
    if (QStandardPaths::findExecutable(u"dbus-daemon"_qs).isEmpty())
        return u"dbus-daemon is not installed"_qs;
    if (QProcess::execute(Python, {u"-c"_qs, u"import dbusmock"_qs}) != 0)
        return u"python3-dbusmock is not installed"_qs;
    return {};
}

/// Starts a private bus in `bus`: its address, or empty when it has not told one within 10 s.
inline QString startPrivateBus(QProcess &bus)
{
    bus.start(u"dbus-daemon"_qs,
              {u"--session"_qs, u"--nofork"_qs, u"--nopidfile"_qs, u"--print-address=1"_qs});
    if (!bus.waitForStarted())
        return {};
    const QDeadlineTimer deadline(10000);
    while (!bus.canReadLine() && bus.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    return bus.canReadLine() ? QString::fromUtf8(bus.readLine().trimmed()) : QString();
}

/// Starts a private bus in `bus` and makes it this process's session bus
/// (DBUS_SESSION_BUS_ADDRESS) from now on; false when it did not start.
inline bool usePrivateSessionBus(QProcess &bus)
{
    const QString address = startPrivateBus(bus);
    if (address.isEmpty())
        return false;
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    return true;
}

/// Starts python3-dbusmock's logind in `logind` as the system bus's logind of the private bus at
/// `address`, with `arguments` after the template's name; false when it did not start.
inline bool startFakeLogind(QProcess &logind, const QString &address,
                            const QStringList &arguments = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DBUS_SYSTEM_BUS_ADDRESS"_qs, address);
    logind.setProcessEnvironment(environment);
    logind.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    logind.start(Python, QStringList{u"-m"_qs, u"dbusmock"_qs, u"--system"_qs, u"--template"_qs,
                                     u"logind"_qs} +
                             arguments);
    return logind.waitForStarted();
}

} // namespace tockwell::test
