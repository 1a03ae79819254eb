#include "Unit1.h"

#include "SetupHost.h"
#include "engine/Error.h"

namespace tockwell {

TF_Alarm::TF_Alarm(platform::Platform &platform, const Clock &clock, SetupHost &host,
                   const QString &programDir, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_platform(platform), m_clock(clock),
      m_host(host), m_programDir(programDir)
{
    setObjectName(QStringLiteral("F_Alarm"));
    setWindowTitle(QStringLiteral("Tockwell"));
    setFixedSize(474, 245);
}

TF_Alarm::~TF_Alarm() = default;

void TF_Alarm::ib_StopClick()
{
    m_host.stopTick();
}

void TF_Alarm::playAlarmSound(const QString &file)
{
    throw MediaDeviceError(QStringLiteral("No player for %1").arg(file));
}

} // namespace tockwell
