#include "Platform.h"

#include "linux/LinuxPlatform.h"
#include "recording/RecordingPlatform.h"

#include <QtGlobal>

#include <stdexcept>

namespace tockwell::platform {

Platform::Platform(Parts parts) : m_parts(std::move(parts))
{
    if (!m_parts.shell || !m_parts.session || !m_parts.input || !m_parts.display ||
        !m_parts.audio || !m_parts.mediaPlayer || !m_parts.opticalDrives || !m_parts.dialogs ||
        !m_parts.sleep || !m_parts.wakeAlarm || !m_parts.autostart)
        throw std::invalid_argument("every platform part is required");
}

std::unique_ptr<Platform> loadPlatform()
{
    const QString choice = qEnvironmentVariable("TOCKWELL_PLATFORM");
    const QLatin1String recordPrefix("record:");
    if (choice.startsWith(recordPrefix))
        return makeRecordingPlatform(std::make_shared<Recorder>(choice.mid(recordPrefix.size())));
    return makeLinuxPlatform();
}

} // namespace tockwell::platform
