#include "LinuxDesktop.h"

namespace tockwell::platform {

LinuxDesktop::LinuxDesktop()
    : m_session(DesktopSession::fromEnvironment(QProcessEnvironment::systemEnvironment()))
{}

Means LinuxDesktop::means(Operation operation)
{
    return m_session.means(operation, WaylandOffers{});
}

} // namespace tockwell::platform
