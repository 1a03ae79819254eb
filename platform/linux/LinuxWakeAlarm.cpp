#include "LinuxWakeAlarm.h"

#include "Failures.h"
#include "LinuxConfig.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <variant>

namespace tockwell::platform {
namespace {

Failure missing(const QString &what)
{
    return {2, u"The system cannot find the file specified: "_qs + what + u'.'};
}
Failure cancelled()
{
    return {1223, u"The operation was canceled by the user."_qs};
}

/// Runs `program` with `arguments` (no shell) and waits for it; its exit code, or a failure.
std::variant<int, Failure> run(const QString &program, const QStringList &arguments,
                               QString *errorText = nullptr)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(LinuxWakeAlarm::TimeoutMs))
        return missing(program);
    if (!process.waitForFinished(LinuxWakeAlarm::TimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return timedOut();
    }
    if (errorText)
        *errorText = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit)
        return Failure{31, program + u" ended abnormally."_qs};
    return process.exitCode();
}

} // namespace

WakeTools WakeTools::installed()
{
    return {u"/usr/bin/pkexec"_qs, u"/usr/bin/pkcheck"_qs, QStringLiteral(TOCKWELL_WAKE_HELPER),
            u"/sys/class/rtc/rtc0/wakealarm"_qs, QStringLiteral(TOCKWELL_WAKE_ACTION)};
}

LinuxWakeAlarm::LinuxWakeAlarm(WakeTools tools) : m_tools(std::move(tools)) {}

std::optional<Failure> LinuxWakeAlarm::canWake()
{
    if (!QFileInfo::exists(m_tools.wakeFile))
        return missing(m_tools.wakeFile);
    if (!QFileInfo(m_tools.helper).isExecutable())
        return missing(m_tools.helper);
    if (!QFileInfo(m_tools.pkexec).isExecutable())
        return missing(m_tools.pkexec);
    if (m_tools.pkcheck.isEmpty() || !QFileInfo(m_tools.pkcheck).isExecutable())
        return std::nullopt; // pkexec alone will tell
    // Without --allow-user-interaction: 0 only when no password would be asked.
    const auto result = run(m_tools.pkcheck, {u"--action-id"_qs, m_tools.action, u"--process"_qs,
                                              QString::number(QCoreApplication::applicationPid())});
    if (const auto *failure = std::get_if<Failure>(&result))
        return *failure;
    return std::get<int>(result) == 0 ? std::nullopt : std::optional(accessDenied());
}

std::optional<Failure> LinuxWakeAlarm::setWakeTime(qint64 epochSeconds)
{
    return runHelper({u"set"_qs, QString::number(epochSeconds)});
}

std::optional<Failure> LinuxWakeAlarm::clearWakeTime()
{
    return runHelper({u"clear"_qs});
}

std::optional<Failure> LinuxWakeAlarm::runHelper(const QStringList &arguments)
{
    if (!QFileInfo(m_tools.helper).isExecutable())
        return missing(m_tools.helper);
    if (!QFileInfo(m_tools.pkexec).isExecutable())
        return missing(m_tools.pkexec);
    QString errorText;
    const auto result = run(m_tools.pkexec, QStringList{m_tools.helper} + arguments, &errorText);
    if (const auto *failure = std::get_if<Failure>(&result))
        return *failure;
    switch (std::get<int>(result)) {
    case 0:
        return std::nullopt;
    case 126: // pkexec: the user dismissed the authentication dialog
        return cancelled();
    case 127: // pkexec: not authorised, or no way to ask
        return accessDenied();
    default:
        return Failure{31, errorText.isEmpty() ? m_tools.helper + u" failed."_qs : errorText};
    }
}

} // namespace tockwell::platform
