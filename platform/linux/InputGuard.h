#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace tockwell::platform {

/// A tockwell-input-guard for one suspension, which gives the suspended devices back however the
/// program ends: it holds a pipe whose writing end only the program has, and gives them back
/// when that pipe closes (the program's exit, crash or SIGKILL, or end()).
class InputGuard
{
public:
    /// The guard `program` started with `arguments`; nullptr when it cannot be started, and then
    /// nothing is to be suspended.
    static std::unique_ptr<InputGuard> start(const QString &program, const QStringList &arguments);

    /// Closes the pipe and waits a moment for the guard to give the devices back (again) and end.
    ~InputGuard();

    InputGuard(const InputGuard &) = delete;
    InputGuard &operator=(const InputGuard &) = delete;

    /// tockwell-input-guard next to the program.
    static QString besideProgram();

private:
    InputGuard() = default;

    QProcess m_process;
};

} // namespace tockwell::platform
