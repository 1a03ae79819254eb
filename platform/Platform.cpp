#include "Platform.h"

#include <stdexcept>

namespace tockwell::platform {

Platform::Platform(Parts parts) : m_parts(std::move(parts))
{
    if (!m_parts.shell || !m_parts.session || !m_parts.input || !m_parts.display ||
        !m_parts.audio || !m_parts.mediaPlayer || !m_parts.opticalDrives || !m_parts.dialogs ||
        !m_parts.sleep || !m_parts.wakeAlarm || !m_parts.autostart || !m_parts.desktop)
        throw std::invalid_argument("every platform part is required");
}

} // namespace tockwell::platform
