#include "X11Input.h"

#include "InputGuard.h"
#include "LinuxConfig.h"
#include "X11.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

// After Qt's headers, which Xlib's macros would break.
#include "X11Extensions.h"

#if TOCKWELL_WITH_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <memory>
#include <vector>
#endif

namespace tockwell::platform {
namespace {

#if TOCKWELL_WITH_X11

// XTest's functions where `display` has XTest (libXtst loaded with the first call), else nullptr.
const x11::XTestFunctions *xtestOn(::Display *display, x11::Extension<x11::XTestFunctions> &xtest)
{
    const x11::XTestFunctions *functions = display ? xtest.get() : nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    return functions && functions->queryExtension(display, &event, &error, &major, &minor)
               ? functions
               : nullptr;
}

// XInput's functions where `display` has the extension (libXi loaded with the first call that
// finds it), else nullptr. No XIQueryVersion here: the X server refuses a version lower than the
// one Qt has announced on the same connection, and XIQueryDevice answers nothing where XInput 2
// is missing.
const x11::XInputFunctions *xinputOn(::Display *display,
                                     x11::Extension<x11::XInputFunctions> &xinput)
{
    int opcode = 0, event = 0, error = 0;
    if (!display || !XQueryExtension(display, "XInputExtension", &opcode, &event, &error))
        return nullptr;
    return xinput.get();
}

// A device that suspension disables: a physical keyboard or pointer attached to the core
// devices. The XTest devices are virtual and stay.
bool isSuspended(const XIDeviceInfo &device, DeviceKind kind)
{
    const int use = kind == DeviceKind::Keyboard ? XISlaveKeyboard : XISlavePointer;
    return device.use == use && !QByteArray(device.name).contains("XTEST");
}

Atom deviceEnabledAtom(::Display *display)
{
    return XInternAtom(display, "Device Enabled", False);
}

bool isEnabled(const x11::XInputFunctions &xinput, ::Display *display, int id)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    const bool read =
        xinput.getProperty(display, id, deviceEnabledAtom(display), 0, 1, False, XA_INTEGER, &type,
                           &format, &items, &after, &data) == Success;
    const bool enabled = read && data && items > 0 && data[0] != 0;
    XFree(data);
    return enabled;
}

#endif

// The scale from Qt's logical pixels to the display's device pixels, for the ways through Qt.
qreal devicePixelRatio(QPoint logical = QPoint())
{
    const QScreen *screen = QGuiApplication::screenAt(logical);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

} // namespace

X11Input::X11Input(QString guardProgram) : m_guardProgram(std::move(guardProgram)) {}

X11Input::~X11Input()
{
    resumeInput();
}

QPoint X11Input::cursorPos()
{
#if TOCKWELL_WITH_X11
    // The root window's coordinates are the device pixels that XTest moves and clicks in; Qt's
    // are divided by its scale factor.
    if (::Display *display = x11::display()) {
        Window root = None, child = None;
        int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
        unsigned int buttons = 0;
        if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY,
                          &windowX, &windowY, &buttons))
            return QPoint(rootX, rootY);
    }
#endif
    const QPoint logical = QCursor::pos();
    return (QPointF(logical) * devicePixelRatio(logical)).toPoint();
}

void X11Input::setCursorPos(QPoint pos)
{
#if TOCKWELL_WITH_X11
    // A movement through XTest is input as the X server sees it, so it ends a running screen
    // saver; QCursor::setPos only warps the pointer.
    ::Display *display = x11::display();
    if (const x11::XTestFunctions *xtest = xtestOn(display, m_xtest)) {
        xtest->fakeMotionEvent(display, -1, pos.x(), pos.y(), CurrentTime);
        XFlush(display);
        return;
    }
#endif
    QCursor::setPos((QPointF(pos) / devicePixelRatio()).toPoint());
}

void X11Input::mouseButton(MouseButtonEvent event, QPoint)
{
#if TOCKWELL_WITH_X11
    // The press or release happens where the pointer is, as the caller has placed it.
    ::Display *display = x11::display();
    const x11::XTestFunctions *xtest = xtestOn(display, m_xtest);
    if (!xtest)
        return;
    xtest->fakeButtonEvent(display, Button1, event == MouseButtonEvent::LeftDown, CurrentTime);
    XFlush(display);
#else
    Q_UNUSED(event)
#endif
}

void X11Input::suspendKeyboard()
{
    suspend(DeviceKind::Keyboard);
}

void X11Input::suspendMouse()
{
    suspend(DeviceKind::Pointer);
}

void X11Input::pressKeys(const KeyCombination &keys)
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    const x11::XTestFunctions *xtest = xtestOn(display, m_xtest);
    if (!xtest)
        return;
    const std::optional<X11Keyboard::KeyCodes> codes = m_keyboard.keysToPress(display, keys);
    if (!codes)
        return;
    for (const KeyCode code : *codes)
        xtest->fakeKeyEvent(display, code, True, CurrentTime);
    for (auto code = codes->rbegin(); code != codes->rend(); ++code)
        xtest->fakeKeyEvent(display, *code, False, CurrentTime);
    XFlush(display);
#else
    Q_UNUSED(keys)
#endif
}

std::vector<uint32_t> X11Input::layoutCodes(const KeyCombination &keys)
{
    std::vector<uint32_t> codes;
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    if (!display)
        return codes;
    // The codes are for a compositor that knows only its own layout, which XWayland's mirrors.
    const std::optional<X11Keyboard::KeyCodes> keyCodes =
        m_keyboard.keysToPress(display, keys, X11Keyboard::Missing::Refuse);
    if (!keyCodes)
        return codes;
    // X's key codes are the kernel's plus 8.
    for (const unsigned char code : *keyCodes)
        codes.push_back(uint32_t(code) - 8);
#else
    Q_UNUSED(keys)
#endif
    return codes;
}

void X11Input::suspend(DeviceKind kind)
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    const std::vector<int> devices = suspendableDevices(kind);
    if (!display || devices.empty())
        return;
    // The guard first, so that the devices come back even if the program ends the moment they
    // have gone. Without a guard they are not taken at all.
    QStringList arguments{QString::fromLocal8Bit(XDisplayString(display))};
    for (const int id : devices)
        arguments << QString::number(id);
    std::unique_ptr<InputGuard> guard = InputGuard::start(m_guardProgram, arguments);
    if (!guard)
        return;
    m_guards.push_back(std::move(guard));
    setDevicesEnabled(devices, false);
    m_suspended.insert(m_suspended.end(), devices.begin(), devices.end());
#else
    Q_UNUSED(kind)
#endif
}

void X11Input::resumeInput()
{
    setDevicesEnabled(m_suspended, true);
    m_suspended.clear();
    m_guards.clear(); // each gives its devices back (again) and ends
}

QSize X11Input::screenSize()
{
#if TOCKWELL_WITH_X11
    // The root window: every monitor, in the pixels of the pointer's coordinates.
    if (::Display *display = x11::display())
        return QSize(DisplayWidth(display, DefaultScreen(display)),
                     DisplayHeight(display, DefaultScreen(display)));
#endif
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize()
                  : QSize(1024, 768);
}

std::vector<int> X11Input::suspendableDevices(DeviceKind kind)
{
    std::vector<int> ids;
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    const x11::XInputFunctions *xinput = xinputOn(display, m_xinput);
    if (!xinput)
        return ids;
    int count = 0;
    const std::unique_ptr<XIDeviceInfo, decltype(xinput->freeDeviceInfo)> devices(
        xinput->queryDevice(display, XIAllDevices, &count), xinput->freeDeviceInfo);
    for (int i = 0; devices && i < count; ++i) {
        const XIDeviceInfo &device = devices.get()[i];
        // One the user has switched off stays off, and is not switched on at the end.
        if (isSuspended(device, kind) && isEnabled(*xinput, display, device.deviceid))
            ids.push_back(device.deviceid);
    }
#else
    Q_UNUSED(kind)
#endif
    return ids;
}

void X11Input::setDevicesEnabled(const std::vector<int> &ids, bool enabled)
{
#if TOCKWELL_WITH_X11
    if (ids.empty()) // nothing suspended: nothing to load
        return;
    ::Display *display = x11::display();
    const x11::XInputFunctions *xinput = xinputOn(display, m_xinput);
    if (!xinput)
        return;
    unsigned char value = enabled ? 1 : 0;
    for (const int id : ids)
        xinput->changeProperty(display, id, deviceEnabledAtom(display), XA_INTEGER, 8,
                               XIPropModeReplace, &value, 1);
    XSync(display, False);
#else
    Q_UNUSED(ids)
    Q_UNUSED(enabled)
#endif
}

} // namespace tockwell::platform
