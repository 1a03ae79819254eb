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
    WaylandOffers offers = compositorOffers();
    Means means = m_session.means(operation, offers);
    const bool portalServes = operation == Operation::PressKeys || operation == Operation::Pointer;
    if (means.available() || !portalServes)
        return means;
    if (!m_portalOffer)
        m_portalOffer = PortalRemoteDesktop::offered();
    offers.portalKeyboard = m_portalOffer->keyboard;
    // The portal's screen casts, on which the pointer is placed, are PipeWire streams.
    offers.portalPointer = m_portalOffer->pointer && MutterDesktop::pipeWireRuns();
    means = m_session.means(operation, offers);
    if (means.backEnd != u"portal")
        return means;
    const QString why = m_portal.open(offers.portalPointer);
    return why.isEmpty() ? means : m_session.refused(operation, why);
}

void LinuxDesktop::keepGrantsWith(GrantKeeper keeper)
{
    m_portal.keepGrantsWith(std::move(keeper));
}

WaylandOffers LinuxDesktop::compositorOffers()
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
    return offers;
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
