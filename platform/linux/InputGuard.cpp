#include "InputGuard.h"

#include <QCoreApplication>

namespace tockwell::platform {
namespace {

constexpr int GuardWaitMs = 3000;

} // namespace

std::unique_ptr<InputGuard> InputGuard::start(const QString &program, const QStringList &arguments)
{
    std::unique_ptr<InputGuard> guard(new InputGuard);
    guard->m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    guard->m_process.start(program, arguments);
    if (!guard->m_process.waitForStarted(GuardWaitMs))
        return nullptr;
    return guard;
}

InputGuard::~InputGuard()
{
    m_process.closeWriteChannel();
    m_process.waitForFinished(GuardWaitMs);
}

QString InputGuard::besideProgram()
{
    return QCoreApplication::applicationDirPath() + u"/tockwell-input-guard"_qs;
}

} // namespace tockwell::platform
