#pragma once

#include "Desktop.h"

#include <QProcessEnvironment>
#include <QString>

namespace tockwell::platform {

/// The compositors whose means the program knows.
enum class Compositor
{
    X11, ///< an X11 session: no compositor of Wayland's
    Mutter,
    KWin,
    Wlroots, ///< sway and the other compositors built on wlroots
    OtherWayland,
};

/// What the session's compositor offers the program's own means: the protocols of a wlroots
/// compositor or of KWin, as it advertises them, and mutter's and KWin's services on the session
/// bus.
struct WaylandOffers
{
    bool virtualKeyboard = false;  ///< zwp_virtual_keyboard_manager_v1
    bool virtualPointer = false;   ///< zwlr_virtual_pointer_manager_v1
    bool outputPower = false;      ///< zwlr_output_power_manager_v1
    bool remoteDesktop = false;    ///< org.gnome.Mutter.RemoteDesktop
    bool displayConfig = false;    ///< org.gnome.Mutter.DisplayConfig
    bool screenCast = false;       ///< org.gnome.Mutter.ScreenCast
    bool pipeWire = false;         ///< PipeWire's socket, for mutter's screen-cast streams
    bool fakeInput = false;        ///< org_kde_kwin_fake_input, granted to the program
    bool dpms = false;             ///< org_kde_kwin_dpms_manager
    bool dpmsOutputs = false;      ///< an output whose power KWin can switch
    bool kwinService = false;      ///< org.kde.KWin
    bool kwinInputDevices = false; ///< org.kde.KWin.InputDevice objects
    bool portalKeyboard = false;   ///< org.freedesktop.portal.RemoteDesktop's keyboard
    bool portalPointer = false;    ///< its pointer, with the portal's screen casts to place it on
};

/// The session as its environment describes it, and which means it has for each operation.
struct DesktopSession
{
    Compositor compositor = Compositor::X11;
    QString name; ///< the desktop's name for the user: "GNOME", "KDE Plasma", "sway", …

    /// A Wayland session when XDG_SESSION_TYPE says so or WAYLAND_DISPLAY is set; its
    /// compositor from XDG_CURRENT_DESKTOP.
    static DesktopSession fromEnvironment(const QProcessEnvironment &environment);

    /// The means of `operation` in this session, given what its compositor offers. Keys and the
    /// pointer go to the desktop's remote-desktop portal where the compositor offers no means of
    /// its own for them.
    Means means(Operation operation, const WaylandOffers &offers) const;
    /// No means for `operation`, for the reason `why`.
    Means refused(Operation operation, QStringView why) const;

private:
    Means compositorMeans(Operation operation, const WaylandOffers &offers) const;
};

} // namespace tockwell::platform
