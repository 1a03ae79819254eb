#include "SessionRouting.h"

#include "KwinDesktop.h"

namespace tockwell::platform {
namespace {

constexpr QStringView WlrootsBackEnd = u"wayland-wlroots";
constexpr QStringView KwinBackEnd = u"wayland-kwin";
constexpr QStringView MutterBackEnd = u"wayland-mutter";

wayland::Backend *waylandMeans(LinuxDesktop &desktop, Operation operation)
{
    const QString backEnd = desktop.means(operation).backEnd;
    return backEnd == WlrootsBackEnd || backEnd == KwinBackEnd ? desktop.wayland() : nullptr;
}

MutterDesktop *mutterMeans(LinuxDesktop &desktop, Operation operation)
{
    return desktop.means(operation).backEnd == MutterBackEnd ? desktop.mutter() : nullptr;
}

} // namespace

SessionInput::SessionInput(std::unique_ptr<X11Input> x11, LinuxDesktop &desktop)
    : m_x11(std::move(x11)), m_desktop(desktop)
{}

wayland::Backend *SessionInput::waylandFor(Operation operation)
{
    return waylandMeans(m_desktop, operation);
}

void SessionInput::setCursorPos(QPoint pos)
{
    if (wayland::Backend *wayland = waylandFor(Operation::Pointer))
        wayland->movePointer(pos, m_x11->screenSize());
    else if (MutterDesktop *mutter = mutterMeans(m_desktop, Operation::Pointer))
        mutter->movePointer(pos, m_x11->screenSize());
    else
        m_x11->setCursorPos(pos);
}

void SessionInput::mouseButton(MouseButtonEvent event, QPoint pos)
{
    const bool down = event == MouseButtonEvent::LeftDown;
    if (wayland::Backend *wayland = waylandFor(Operation::Pointer))
        wayland->leftButton(down);
    else if (MutterDesktop *mutter = mutterMeans(m_desktop, Operation::Pointer))
        mutter->leftButton(down);
    else
        m_x11->mouseButton(event, pos);
}

KwinInputDevices *SessionInput::kwinDevices()
{
    return m_desktop.means(Operation::SuspendInput).backEnd == KwinBackEnd ? m_desktop.kwinInput()
                                                                           : nullptr;
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
    // KWin takes the codes of its own layout's keys, which XWayland's layout mirrors.
    if (wayland::Backend *wayland = waylandFor(Operation::PressKeys))
        wayland->pressKeys(keys, m_desktop.means(Operation::PressKeys).backEnd == KwinBackEnd
                                     ? m_x11->layoutCodes(keys)
                                     : std::vector<uint32_t>());
    else if (MutterDesktop *mutter = mutterMeans(m_desktop, Operation::PressKeys))
        mutter->pressKeys(keys);
    else
        m_x11->pressKeys(keys);
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
    if (wayland::Backend *wayland = waylandMeans(m_desktop, Operation::MonitorOff))
        wayland->outputsOff();
    else if (MutterDesktop *mutter = mutterMeans(m_desktop, Operation::MonitorOff))
        mutter->monitorOff();
    else
        m_x11->monitorLowPower();
}

} // namespace tockwell::platform
