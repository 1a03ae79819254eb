#include "SessionRouting.h"

#include "KwinDesktop.h"

namespace tockwell::platform {
namespace {

constexpr QStringView WlrootsBackEnd = u"wayland-wlroots";
constexpr QStringView KwinBackEnd = u"wayland-kwin";
constexpr QStringView MutterBackEnd = u"wayland-mutter";
constexpr QStringView PortalBackEnd = u"portal";

// The Wayland back end, or mutter's means, where `backEnd` names them.
wayland::Backend *waylandOf(LinuxDesktop &desktop, const QString &backEnd)
{
    return backEnd == WlrootsBackEnd || backEnd == KwinBackEnd ? desktop.wayland() : nullptr;
}

MutterDesktop *mutterOf(LinuxDesktop &desktop, const QString &backEnd)
{
    return backEnd == MutterBackEnd ? desktop.mutter() : nullptr;
}

PortalRemoteDesktop *portalOf(LinuxDesktop &desktop, const QString &backEnd)
{
    return backEnd == PortalBackEnd ? &desktop.portal() : nullptr;
}

} // namespace

SessionInput::SessionInput(std::unique_ptr<X11Input> x11, LinuxDesktop &desktop)
    : m_x11(std::move(x11)), m_desktop(desktop)
{}

QString SessionInput::backEnd(Operation operation)
{
    return m_desktop.means(operation).backEnd;
}

void SessionInput::setCursorPos(QPoint pos)
{
    const QString means = backEnd(Operation::Pointer);
    if (wayland::Backend *wayland = waylandOf(m_desktop, means))
        wayland->movePointer(pos, m_x11->screenSize());
    else if (MutterDesktop *mutter = mutterOf(m_desktop, means))
        mutter->movePointer(pos, m_x11->screenSize());
    else if (PortalRemoteDesktop *portal = portalOf(m_desktop, means))
        portal->movePointer(pos);
    else
        m_x11->setCursorPos(pos);
}

void SessionInput::mouseButton(MouseButtonEvent event, QPoint pos)
{
    const bool down = event == MouseButtonEvent::LeftDown;
    const QString means = backEnd(Operation::Pointer);
    if (wayland::Backend *wayland = waylandOf(m_desktop, means))
        wayland->leftButton(down);
    else if (MutterDesktop *mutter = mutterOf(m_desktop, means))
        mutter->leftButton(down);
    else if (PortalRemoteDesktop *portal = portalOf(m_desktop, means))
        portal->leftButton(down);
    else
        m_x11->mouseButton(event, pos);
}

KwinInputDevices *SessionInput::kwinDevices()
{
    return backEnd(Operation::SuspendInput) == KwinBackEnd ? m_desktop.kwinInput() : nullptr;
}

void SessionInput::suspendKeyboard()
{
    if (KwinInputDevices *devices = kwinDevices())
        devices->suspend(DeviceKind::Keyboard);
    else
        m_x11->suspendKeyboard();
}

void SessionInput::suspendMouse()
{
    if (KwinInputDevices *devices = kwinDevices())
        devices->suspend(DeviceKind::Pointer);
    else
        m_x11->suspendMouse();
}

void SessionInput::resumeInput()
{
    // Each gives back only what it took.
    if (KwinInputDevices *devices = m_desktop.kwinInput())
        devices->resume();
    m_x11->resumeInput();
}

void SessionInput::pressKeys(const KeyCombination &keys)
{
    const QString means = backEnd(Operation::PressKeys);
    // KWin takes the codes of its own layout's keys, which XWayland's layout mirrors.
    if (wayland::Backend *wayland = waylandOf(m_desktop, means))
        wayland->pressKeys(keys, means == KwinBackEnd ? m_x11->layoutCodes(keys)
                                                      : std::vector<uint32_t>());
    else if (MutterDesktop *mutter = mutterOf(m_desktop, means))
        mutter->pressKeys(keys);
    else if (PortalRemoteDesktop *portal = portalOf(m_desktop, means))
        portal->pressKeys(keys);
    else
        m_x11->pressKeys(keys);
}

QString SessionInput::cannotPress(const KeyCombination &keys)
{
    // KWin takes only the keys of its layout: a character that the layout lacks has no key,
    // where X11 would bind a spare one.
    if (backEnd(Operation::PressKeys) != KwinBackEnd || !m_x11->layoutCodes(keys).empty())
        return {};
    return u"Na tym pulpicie (KDE Plasma, Wayland) nie da się zasymulować wciśnięcia tych "
           u"klawiszy: układ klawiatury nie ma któregoś z nich."_qs;
}

SessionDisplay::SessionDisplay(std::unique_ptr<Display> x11, LinuxDesktop &desktop)
    : m_x11(std::move(x11)), m_desktop(desktop)
{}

void SessionDisplay::minimizeAllWindows()
{
    if (m_desktop.means(Operation::ShowDesktop).backEnd == KwinBackEnd)
        KwinDesktop::showDesktop();
    else
        m_x11->minimizeAllWindows();
}

void SessionDisplay::monitorLowPower()
{
    const QString means = m_desktop.means(Operation::MonitorOff).backEnd;
    if (wayland::Backend *wayland = waylandOf(m_desktop, means))
        wayland->outputsOff();
    else if (MutterDesktop *mutter = mutterOf(m_desktop, means))
        mutter->monitorOff();
    else
        m_x11->monitorLowPower();
}

} // namespace tockwell::platform
