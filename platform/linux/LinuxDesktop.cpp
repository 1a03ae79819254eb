#include "LinuxDesktop.h"

namespace tockwell::platform {

LinuxDesktop::LinuxDesktop(DesktopSession session, QString waylandLibrary)
    : m_session(std::move(session)), m_wayland(std::move(waylandLibrary))
{}

Means LinuxDesktop::means(Operation operation)
{
    WaylandOffers offers;
    if (const wayland::Backend *backend = wayland())
        offers = backend->offers();
    if (m_session.compositor == Compositor::Mutter) {
        offers.remoteDesktop = MutterDesktop::offersRemoteDesktop();
        offers.displayConfig = MutterDesktop::offersDisplayConfig();
        offers.screenCast = MutterDesktop::offersScreenCast();
        offers.pipeWire = MutterDesktop::pipeWireRuns();
    }
    return m_session.means(operation, offers);
}

MutterDesktop *LinuxDesktop::mutter()
{
    return m_session.compositor == Compositor::Mutter ? &m_mutter : nullptr;
}

wayland::Backend *LinuxDesktop::wayland()
{
    return m_session.compositor == Compositor::Wlroots ? m_wayland.backend() : nullptr;
}

} // namespace tockwell::platform
