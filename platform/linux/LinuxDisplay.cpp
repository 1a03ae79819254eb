#include "LinuxDisplay.h"

#include "LinuxConfig.h"
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
#endif

namespace tockwell::platform {
namespace {

#if TOCKWELL_WITH_X11

struct XFreeDeleter
{
    void operator()(unsigned char *data) const { XFree(data); }
};

// The window named by `property` (type WINDOW) on `window`, or None.
Window windowProperty(::Display *display, Window window, Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *raw = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &raw) != Success)
        return None;
    const std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
    if (type != XA_WINDOW || format != 32 || count != 1)
        return None;
    return *reinterpret_cast<const Window *>(data.get());
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
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
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
