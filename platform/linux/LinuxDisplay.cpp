#include "LinuxDisplay.h"

#include "LinuxConfig.h"
#include "WorkArea.h"
#include "X11.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QGuiApplication>
#include <QScreen>

// After Qt's headers, which Xlib's macros would break.
#include "X11Extensions.h"

#if TOCKWELL_WITH_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <memory>
#include <optional>
#include <vector>
#endif

namespace tockwell::platform {
namespace {

#if TOCKWELL_WITH_X11

struct XFreeDeleter
{
    void operator()(unsigned char *data) const { XFree(data); }
};

// The 32-bit values of `property` of `type` on `window` (at most `most`); none where it is
// missing or of another type.
std::vector<long> values(::Display *display, Window window, Atom property, Atom wanted, long most)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *raw = nullptr;
    if (XGetWindowProperty(display, window, property, 0, most, False, wanted, &type, &format,
                           &count, &after, &raw) != Success)
        return {};
    const std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
    if (type != wanted || format != 32 || !data)
        return {};
    const auto *first = reinterpret_cast<const long *>(data.get()); // Xlib's 32-bit format
    return std::vector<long>(first, first + count);
}

// The window named by `property` (type WINDOW) on `window`, or None.
Window windowProperty(::Display *display, Window window, Atom property)
{
    const std::vector<long> named = values(display, window, property, XA_WINDOW, 1);
    return named.size() == 1 ? Window(named.front()) : None;
}

std::vector<long> cardinals(::Display *display, Window window, const char *property, long most)
{
    return values(display, window, XInternAtom(display, property, False), XA_CARDINAL, most);
}

// The windows that may hold a panel's strut: the root's children (panels of the window manager
// itself, unmanaged docks) and the managed clients (docks that the window manager framed).
std::vector<Window> strutCandidates(::Display *display, Window root)
{
    std::vector<Window> windows;
    Window rootReturn = None, parent = None;
    Window *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) && children) {
        windows.assign(children, children + count);
        XFree(children);
    }
    for (const long client :
         values(display, root, XInternAtom(display, "_NET_CLIENT_LIST", False), XA_WINDOW, 4096))
        windows.push_back(Window(client));
    return windows;
}

// The primary monitor's work area in the root window's pixels; `monitor` is the monitor there.
QRect rootWorkArea(::Display *display, QRect monitor)
{
    const Window root = DefaultRootWindow(display);
    const QSize rootSize(DisplayWidth(display, DefaultScreen(display)),
                         DisplayHeight(display, DefaultScreen(display)));
    std::optional<QRect> netWorkArea;
    const std::vector<long> desktop = cardinals(display, root, "_NET_CURRENT_DESKTOP", 1);
    const long index = desktop.empty() ? 0 : desktop.front();
    const std::vector<long> areas = cardinals(display, root, "_NET_WORKAREA", 4 * (index + 1));
    if (areas.size() >= std::size_t(4 * (index + 1)) && index >= 0) {
        const long *area = areas.data() + 4 * index;
        netWorkArea = QRect(int(area[0]), int(area[1]), int(area[2]), int(area[3]));
    }
    std::vector<Reservation> reservations;
    for (const Window window : strutCandidates(display, root)) {
        std::vector<long> strut = cardinals(display, window, "_NET_WM_STRUT_PARTIAL", 12);
        if (strut.size() != 12)
            strut = cardinals(display, window, "_NET_WM_STRUT", 4);
        const std::vector<Reservation> more = strutReservations(strut, rootSize);
        reservations.insert(reservations.end(), more.begin(), more.end());
    }
    return monitorWorkArea(monitor, netWorkArea, reservations);
}

// An EWMH window manager runs: the root names a check window that names itself. A stale
// _NET_SUPPORTED left by a window manager that has gone does not count.
bool ewmhWindowManagerRuns(::Display *display)
{
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const Window child = windowProperty(display, DefaultRootWindow(display), check);
    return child != None && windowProperty(display, child, check) == child;
}

#endif

} // namespace

DpmsRestore::DpmsRestore(Server server, std::chrono::milliseconds interval)
    : m_server(std::move(server))
{
    m_timer.setInterval(interval);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { check(); });
}

DpmsRestore::~DpmsRestore()
{
    if (watching())
        m_server.switchDpmsOff();
}

void DpmsRestore::watch()
{
    if (!watching())
        m_timer.start();
}

void DpmsRestore::check()
{
    if (!m_server.monitorOn())
        return;
    m_timer.stop();
    m_server.switchDpmsOff();
}

LinuxDisplay::LinuxDisplay()
    : m_dpmsRestore(DpmsRestore::Server{[this] { return m_dpms.monitorOn(); },
                                        [this] { m_dpms.switchOff(); }},
                    std::chrono::seconds(1))
{}

QRect LinuxDisplay::workArea()
{
    return primaryWorkArea();
}

QRect LinuxDisplay::primaryWorkArea()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect();
#if TOCKWELL_WITH_X11
    // Qt cuts a screen by _NET_WORKAREA only where there is one monitor, and never by a panel's
    // strut. The monitor in the root window's pixels: Qt keeps a screen's place there and
    // divides its size by the scale.
    if (::Display *display = x11::display()) {
        const qreal scale = screen->devicePixelRatio();
        const QRect logical = screen->geometry();
        const QPoint origin = logical.topLeft();
        const QRect monitor(origin, (QSizeF(logical.size()) * scale).toSize());
        const QRect area = rootWorkArea(display, monitor);
        return QRect(origin + (QPointF(area.topLeft() - origin) / scale).toPoint(),
                     (QSizeF(area.size()) / scale).toSize());
    }
#endif
    return screen->availableGeometry();
}

void LinuxDisplay::minimizeAllWindows()
{
    setShowingDesktop(true);
}

void LinuxDisplay::startScreenSaver()
{
    if (!activateScreenSaverService())
        activateX11ScreenSaver();
}

void LinuxDisplay::monitorLowPower()
{
    // The user who had DPMS off gets it off again when the monitor wakes.
    bool switchedOn = false;
    if (m_dpms.standby(&switchedOn) && switchedOn)
        m_dpmsRestore.watch();
}

void LinuxDisplay::keepAbove(WId window)
{
    addAboveStates(window);
}

bool setShowingDesktop(bool show)
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    if (!display || !ewmhWindowManagerRuns(display))
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = DefaultRootWindow(display);
    event.xclient.message_type = XInternAtom(display, "_NET_SHOWING_DESKTOP", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = show ? 1 : 0;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
    return true;
#else
    Q_UNUSED(show)
    return false;
#endif
}

bool addAboveStates(unsigned long window)
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    if (!display)
        return false;
    // One message changes at most two states: above with no taskbar entry, then no pager entry.
    const auto add = [display, window](const char *first, const char *second) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1; // _NET_WM_STATE_ADD
        event.xclient.data.l[1] = long(XInternAtom(display, first, False));
        event.xclient.data.l[2] = second ? long(XInternAtom(display, second, False)) : 0;
        event.xclient.data.l[3] = 1; // from an application
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    };
    add("_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR");
    add("_NET_WM_STATE_SKIP_PAGER", nullptr);
    XFlush(display);
    return true;
#else
    Q_UNUSED(window)
    return false;
#endif
}

bool activateScreenSaverService()
{
    struct Service
    {
        QString name, path;
    };
    const Service services[] = {
        {u"org.freedesktop.ScreenSaver"_qs, u"/org/freedesktop/ScreenSaver"_qs},
        {u"org.gnome.ScreenSaver"_qs, u"/org/gnome/ScreenSaver"_qs},
    };
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    for (const Service &service : services) {
        if (!bus.interface()->isServiceRegistered(service.name))
            continue;
        QDBusInterface saver(service.name, service.path, service.name, bus);
        saver.setTimeout(5000);
        const QDBusReply<bool> reply = saver.call(u"SetActive"_qs, true);
        if (reply.isValid() && reply.value())
            return true;
    }
    return false;
}

bool activateX11ScreenSaver()
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    if (!display)
        return false;
    XForceScreenSaver(display, ScreenSaverActive);
    XFlush(display);
    return true;
#else
    return false;
#endif
}

Dpms::Dpms() = default;

Dpms::~Dpms() = default;

bool Dpms::standby(bool *switchedOn)
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    const x11::DpmsFunctions *dpms = display ? m_functions.get() : nullptr;
    int event = 0, error = 0;
    if (!dpms || !dpms->queryExtension(display, &event, &error) || !dpms->capable(display))
        return false;
    // Forcing a level needs DPMS on; switching it on keeps the user's timeouts.
    CARD16 level = 0;
    BOOL on = False;
    const bool off = dpms->info(display, &level, &on) && !on;
    if (off)
        dpms->enable(display);
    if (switchedOn)
        *switchedOn = off;
    dpms->forceLevel(display, DPMSModeStandby);
    XFlush(display);
    return true;
#else
    Q_UNUSED(switchedOn)
    return false;
#endif
}

bool Dpms::monitorOn()
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    const x11::DpmsFunctions *dpms = display ? m_functions.get() : nullptr;
    int event = 0, error = 0;
    CARD16 level = DPMSModeOn;
    BOOL on = False;
    if (dpms && dpms->queryExtension(display, &event, &error))
        dpms->info(display, &level, &on);
    return level == DPMSModeOn;
#else
    return true;
#endif
}

void Dpms::switchOff()
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    const x11::DpmsFunctions *dpms = display ? m_functions.get() : nullptr;
    int event = 0, error = 0;
    if (!dpms || !dpms->queryExtension(display, &event, &error))
        return;
    dpms->disable(display);
    XFlush(display);
#endif
}

} // namespace tockwell::platform
