#pragma once

#include "../Desktop.h"
#include "../DesktopSession.h"
#include "KwinInputDevices.h"
#include "MutterDesktop.h"
#include "PortalRemoteDesktop.h"
#include "WaylandLibrary.h"

namespace tockwell::platform {

/// The session the program runs in, read from its environment at the start; the means of each
/// operation follow from it (DesktopSession) and from what the compositor offers: the protocols
/// of a wlroots compositor or of KWin to the Wayland back end, mutter's and KWin's services on
/// the session bus.
class LinuxDesktop final : public Desktop
{
public:
    explicit LinuxDesktop(
        DesktopSession session =
            DesktopSession::fromEnvironment(QProcessEnvironment::systemEnvironment()),
        QString waylandLibrary = WaylandLibrary::besideProgram(u"tockwell-wayland.so"_qs));

    /// Opens the portal's session where keys or the pointer go to it, which may ask the user.
    Means means(Operation operation) override;
    void keepGrantsWith(GrantKeeper keeper) override;
    /// The Wayland back end, connected at the first call; nullptr outside a wlroots or KWin
    /// session or where the library cannot be loaded.
    wayland::Backend *wayland();
    /// GNOME's means; nullptr outside a GNOME Wayland session.
    MutterDesktop *mutter();
    /// KDE Plasma's input devices; nullptr outside a KDE Plasma Wayland session.
    KwinInputDevices *kwinInput();
    /// The desktop's remote-desktop portal, whose session `means` opened.
    PortalRemoteDesktop &portal() { return m_portal; }

private:
    /// The library's entry point for the session's compositor; nullptr where it has none.
    static const char *waylandEntryPoint(Compositor compositor);
    /// What the compositor and its services offer the program's own means.
    WaylandOffers compositorOffers();

    /// What the portal offers, asked once: asking may start it.
    std::optional<PortalRemoteDesktop::Offer> m_portalOffer;
    DesktopSession m_session;
    WaylandLibrary m_wayland;
    MutterDesktop m_mutter;
    KwinInputDevices m_kwinInput;
    PortalRemoteDesktop m_portal;
};

} // namespace tockwell::platform
