#pragma once

// Runs the built tockwell-reg on a store of the test's own.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace tockwell::test {

/// The program's key, as the store path below the root.
inline const QString Base = u"Software\\Kestrolab\\Tockwell"_qs;

struct Run
{
    int exitCode;
    QString output;
    QString errors;
};

/// tockwell-reg with `args`, its store under `configHome` (XDG_CONFIG_HOME) and, when
/// `sessionBus` is not empty, the bus at that address as its session bus; `inChild` runs in the
/// child before it starts. Nobody answers its questions.
inline Run runReg(const QString &configHome, const QStringList &args,
                  const std::function<void()> &inChild = {}, const QString &sessionBus = {})
{
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_qs, configHome);
    if (!sessionBus.isEmpty())
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_qs, sessionBus);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TOCKWELL_REG), args);
    process.closeWriteChannel();
    process.waitForFinished();
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace tockwell::test
