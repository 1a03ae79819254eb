#include "DesktopSession.h"

#include <QStringList>

#include <array>

namespace tockwell::platform {
namespace {

// XDG_CURRENT_DESKTOP's names of the compositors built on wlroots.
constexpr std::array WlrootsDesktops = {u"sway",  u"river", u"Hyprland", u"wayfire",
                                        u"labwc", u"dwl",   u"cage"};

// What the user was about to do, as the refusal names it.
QString operationPhrase(Operation operation)
{
    switch (operation) {
    case Operation::PressKeys:
        return u"zasymulować wciśnięcia klawiszy"_qs;
    case Operation::Pointer:
        return u"zasymulować ruchu ani kliknięcia myszy"_qs;
    case Operation::SuspendInput:
        return u"wyłączyć klawiatury ani myszy"_qs;
    case Operation::MonitorOff:
        return u"wyłączyć monitora"_qs;
    case Operation::ShowDesktop:
        return u"zminimalizować wszystkich okien"_qs;
    }
    return {};
}

constexpr QStringView Refused = u"kompozytor nie pozwala na to innym programom";
constexpr QStringView NotYet =
    u"program nie zna jeszcze sposobu, w jaki ten kompozytor na to pozwala";

constexpr QStringView NoPipeWire =
    u"w sesji nie działa PipeWire, bez którego GNOME nie pozwala wskazać punktu ekranu";

constexpr QStringView NoInputDevices =
    u"KWin nie wymienia swoich urządzeń wejścia (org.kde.KWin.InputDevice)";

constexpr QStringView NoOutputPower = u"żaden z monitorów nie pozwala kompozytorowi się wyłączyć";

QString missingProtocol(const char *protocol)
{
    return u"kompozytor nie udostępnia protokołu %1"_qs.arg(QLatin1String(protocol));
}

QString missingService(const char *service)
{
    return u"na magistrali sesji nie ma usługi %1"_qs.arg(QLatin1String(service));
}

} // namespace

DesktopSession DesktopSession::fromEnvironment(const QProcessEnvironment &environment)
{
    const bool wayland = environment.value(u"XDG_SESSION_TYPE"_qs) == u"wayland" ||
                         !environment.value(u"WAYLAND_DISPLAY"_qs).isEmpty();
    if (!wayland)
        return {Compositor::X11, u"X11"_qs};
    const QStringList desktops =
        environment.value(u"XDG_CURRENT_DESKTOP"_qs).split(u':', Qt::SkipEmptyParts);
    for (const QString &desktop : desktops) {
        if (desktop.compare(u"GNOME", Qt::CaseInsensitive) == 0)
            return {Compositor::Mutter, u"GNOME"_qs};
        if (desktop.compare(u"KDE", Qt::CaseInsensitive) == 0)
            return {Compositor::KWin, u"KDE Plasma"_qs};
        for (const QStringView wlroots : WlrootsDesktops) {
            if (desktop.compare(wlroots, Qt::CaseInsensitive) == 0)
                return {Compositor::Wlroots, desktop};
        }
    }
    return {Compositor::OtherWayland, desktops.value(0, u"nieznany"_qs)};
}

Means DesktopSession::refused(Operation operation, QStringView why) const
{
    return Means{{},
                 u"Na tym pulpicie (%1, Wayland) nie da się %2: %3."_qs.arg(
                     name, operationPhrase(operation), why)};
}

Means DesktopSession::means(Operation operation, const WaylandOffers &offers) const
{
    const Means own = compositorMeans(operation, offers);
    const bool portal = (operation == Operation::PressKeys && offers.portalKeyboard) ||
                        (operation == Operation::Pointer && offers.portalPointer);
    return own.available() || !portal ? own : Means{u"portal"_qs, {}};
}

Means DesktopSession::compositorMeans(Operation operation, const WaylandOffers &offers) const
{
    const auto refuse = [&](QStringView why) { return refused(operation, why); };
    const auto wlroots = [&](bool offered, const char *protocol) {
        return offered ? Means{u"wayland-wlroots"_qs, {}} : refuse(missingProtocol(protocol));
    };
    const auto mutter = [&](bool offered, const char *service) {
        return offered ? Means{u"wayland-mutter"_qs, {}} : refuse(missingService(service));
    };
    const auto kwin = [&](bool offered, const char *protocol) {
        return offered ? Means{u"wayland-kwin"_qs, {}} : refuse(missingProtocol(protocol));
    };
    switch (compositor) {
    case Compositor::X11:
        return Means{u"x11"_qs, {}};
    case Compositor::Wlroots:
        switch (operation) {
        case Operation::PressKeys:
            return wlroots(offers.virtualKeyboard, "zwp_virtual_keyboard_v1");
        case Operation::Pointer:
            return wlroots(offers.virtualPointer, "zwlr_virtual_pointer_v1");
        case Operation::MonitorOff:
            return wlroots(offers.outputPower, "zwlr_output_power_management_v1");
        case Operation::SuspendInput:
        case Operation::ShowDesktop:
            return refuse(Refused);
        }
        break;
    case Compositor::Mutter:
        switch (operation) {
        case Operation::PressKeys:
            return mutter(offers.remoteDesktop, "org.gnome.Mutter.RemoteDesktop");
        case Operation::MonitorOff:
            return mutter(offers.displayConfig, "org.gnome.Mutter.DisplayConfig");
        case Operation::ShowDesktop:
            return Means{u"x11"_qs, {}}; // mutter honours the X11 request
        case Operation::SuspendInput:
            return refuse(Refused);
        case Operation::Pointer:
            // A point is placed on a screen cast of the monitor, whose stream needs PipeWire.
            if (!offers.remoteDesktop || !offers.screenCast)
                return mutter(false, offers.remoteDesktop ? "org.gnome.Mutter.ScreenCast"
                                                          : "org.gnome.Mutter.RemoteDesktop");
            return offers.pipeWire ? mutter(true, "") : refuse(NoPipeWire);
        }
        break;
    case Compositor::KWin:
        switch (operation) {
        case Operation::PressKeys:
        case Operation::Pointer:
            return kwin(offers.fakeInput, "org_kde_kwin_fake_input");
        case Operation::MonitorOff:
            if (offers.dpms && !offers.dpmsOutputs)
                return refuse(NoOutputPower);
            return kwin(offers.dpms, "org_kde_kwin_dpms");
        case Operation::ShowDesktop:
            // KWin takes the X11 request too, where its bus service is missing.
            return offers.kwinService ? kwin(true, "") : Means{u"x11"_qs, {}};
        case Operation::SuspendInput:
            return offers.kwinInputDevices ? kwin(true, "") : refuse(NoInputDevices);
        }
        break;
    case Compositor::OtherWayland:
        break;
    }
    return refuse(NotYet);
}

} // namespace tockwell::platform
