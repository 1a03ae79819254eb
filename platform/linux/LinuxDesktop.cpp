#include "LinuxDesktop.h"

namespace tockwell::platform {

LinuxDesktop::LinuxDesktop(DesktopSession session, QString waylandLibrary)
    : m_session(std::move(session)), m_wayland(std::move(waylandLibrary))
{}

Means LinuxDesktop::means(Operation operation)
{
    const wayland::Backend *backend = wayland();
    return m_session.means(operation, backend ? backend->offers() : WaylandOffers{});
}

wayland::Backend *LinuxDesktop::wayland()
{
    return m_session.compositor == Compositor::Wlroots ? m_wayland.backend() : nullptr;
}

} // namespace tockwell::platform
