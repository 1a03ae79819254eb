#include "LinuxDesktop.h"

#include "KwinDesktop.h"

namespace tockwell::platform {

LinuxDesktop::LinuxDesktop(DesktopSession session, QString waylandLibrary)
    : m_session(std::move(session)),
      m_wayland(std::move(waylandLibrary), waylandEntryPoint(m_session.compositor))
{}

const char *LinuxDesktop::waylandEntryPoint(Compositor compositor)
{
    switch (compositor) {
    case Compositor::Wlroots:
        return wayland::WlrootsEntryPoint;
    case Compositor::KWin:
        return wayland::KwinEntryPoint;
    default:
        return nullptr;
    }
}

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
    if (m_session.compositor == Compositor::KWin) {
        offers.kwinService = KwinDesktop::offersService();
        offers.kwinInputDevices = KwinInputDevices::offered();
    }
    return m_session.means(operation, offers);
}

MutterDesktop *LinuxDesktop::mutter()
{
    return m_session.compositor == Compositor::Mutter ? &m_mutter : nullptr;
}

KwinInputDevices *LinuxDesktop::kwinInput()
{
    return m_session.compositor == Compositor::KWin ? &m_kwinInput : nullptr;
}

wayland::Backend *LinuxDesktop::wayland()
{
    return waylandEntryPoint(m_session.compositor) ? m_wayland.backend() : nullptr;
}

} // namespace tockwell::platform
