#pragma once

// A private D-Bus daemon that stands in for the system bus, for the tests that run
// python3-dbusmock's logind on it: the machine's own logind is never reached.
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

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

} // namespace tockwell::test
