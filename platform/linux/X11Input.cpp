#include "X11Input.h"

#include "LinuxConfig.h"
#include "X11.h"

#include <QCursor>

#if TOCKWELL_WITH_X11
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <memory>
#include <optional>
#include <vector>
#endif

namespace tockwell::platform {
namespace {

#if TOCKWELL_WITH_X11

bool hasXTest(::Display *display)
{
    int event = 0, error = 0, major = 0, minor = 0;
    return XTestQueryExtension(display, &event, &error, &major, &minor);
}

// No XIQueryVersion here: the X server refuses a version lower than the one Qt has announced on
// the same connection, and XIQueryDevice answers nothing where XInput 2 is missing.
bool hasXInput(::Display *display)
{
    int opcode = 0, event = 0, error = 0;
    return XQueryExtension(display, "XInputExtension", &opcode, &event, &error);
}

struct DeviceInfoFree
{
    void operator()(XIDeviceInfo *info) const { XIFreeDeviceInfo(info); }
};

// A device that suspension disables: a physical keyboard or pointer attached to the core
// devices. The XTest devices are virtual and stay.
bool isSuspended(const XIDeviceInfo &device, DeviceKind kind)
{
    const int use = kind == DeviceKind::Keyboard ? XISlaveKeyboard : XISlavePointer;
    return device.use == use && !QByteArray(device.name).contains("XTEST");
}

constexpr KeySym ShiftKeysym = 0xffe1; // Shift_L

// Where the layout has a keysym: the key, and whether it sits on the key's second (shifted)
// level. Keys that give it unshifted are preferred.
struct KeyPlace
{
    KeyCode code;
    bool shifted;
};

struct KeyboardFree
{
    void operator()(XkbDescPtr keyboard) const { XkbFreeKeyboard(keyboard, 0, True); }
};
using Keyboard = std::unique_ptr<XkbDescRec, KeyboardFree>;

// The layout as the server has it now, in its current group: Xlib's own cached copy is not
// refreshed when the layout changes, because Qt reads the X events.
struct Layout
{
    Keyboard keyboard;
    int group = 0;
};

std::optional<Layout> currentLayout(::Display *display)
{
    Keyboard keyboard(XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd));
    if (!keyboard)
        return std::nullopt;
    XkbStateRec state{};
    const int group = XkbGetState(display, XkbUseCoreKbd, &state) == Success ? state.group : 0;
    return Layout{std::move(keyboard), group};
}

std::optional<KeyPlace> findKey(const Layout &layout, KeySym keysym)
{
    XkbDescPtr keyboard = layout.keyboard.get();
    for (const int level : {0, 1}) {
        for (int code = keyboard->min_key_code; code <= keyboard->max_key_code; ++code) {
            const int groups = XkbKeyNumGroups(keyboard, code);
            if (groups == 0)
                continue;
            const int group = layout.group % groups; // groups beyond a key's own wrap around
            if (level < XkbKeyGroupWidth(keyboard, code, group) &&
                XkbKeySymEntry(keyboard, code, level, group) == keysym)
                return KeyPlace{KeyCode(code), level == 1};
        }
    }
    return std::nullopt;
}

// The keys to hold down in order (the modifiers, Shift where the key's keysym needs it, the key
// last); nothing when the layout lacks one of the keysyms.
std::optional<std::vector<KeyCode>> keysToPress(const Layout &layout, const KeyCombination &keys)
{
    std::vector<KeyCode> codes;
    for (const quint32 modifier : keys.modifiers) {
        const std::optional<KeyPlace> place = findKey(layout, modifier);
        if (!place)
            return std::nullopt;
        codes.push_back(place->code);
    }
    const std::optional<KeyPlace> key = findKey(layout, keys.key);
    if (!key)
        return std::nullopt;
    if (key->shifted && !keys.modifiers.contains(quint32(ShiftKeysym))) {
        const std::optional<KeyPlace> shift = findKey(layout, ShiftKeysym);
        if (!shift)
            return std::nullopt;
        codes.push_back(shift->code);
    }
    codes.push_back(key->code);
    return codes;
}

#endif

} // namespace

QPoint X11Input::cursorPos()
{
    return QCursor::pos();
}

void X11Input::setCursorPos(QPoint pos)
{
#if TOCKWELL_WITH_X11
    // A movement through XTest is input as the X server sees it, so it ends a running screen
    // saver; QCursor::setPos only warps the pointer.
    if (::Display *display = x11::display(); display && hasXTest(display)) {
        XTestFakeMotionEvent(display, -1, pos.x(), pos.y(), CurrentTime);
        XFlush(display);
        return;
    }
#endif
    QCursor::setPos(pos);
}

void X11Input::mouseButton(MouseButtonEvent event, QPoint)
{
#if TOCKWELL_WITH_X11
    // The press or release happens where the pointer is, as the caller has placed it.
    ::Display *display = x11::display();
    if (!display || !hasXTest(display))
        return;
    XTestFakeButtonEvent(display, Button1, event == MouseButtonEvent::LeftDown, CurrentTime);
    XFlush(display);
#else
    Q_UNUSED(event)
#endif
}

void X11Input::suspendKeyboard()
{
    disableInputDevices(DeviceKind::Keyboard);
}

void X11Input::suspendMouse()
{
    disableInputDevices(DeviceKind::Pointer);
}

void X11Input::pressKeys(const KeyCombination &keys)
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    if (!display || !hasXTest(display))
        return;
    const std::optional<Layout> layout = currentLayout(display);
    const std::optional<std::vector<KeyCode>> codes =
        layout ? keysToPress(*layout, keys) : std::nullopt;
    if (!codes)
        return;
    for (const KeyCode code : *codes)
        XTestFakeKeyEvent(display, code, True, CurrentTime);
    for (auto code = codes->rbegin(); code != codes->rend(); ++code)
        XTestFakeKeyEvent(display, *code, False, CurrentTime);
    XFlush(display);
#else
    Q_UNUSED(keys)
#endif
}

int disableInputDevices(DeviceKind kind)
{
#if TOCKWELL_WITH_X11
    ::Display *display = x11::display();
    if (!display || !hasXInput(display))
        return 0;
    int count = 0;
    const std::unique_ptr<XIDeviceInfo, DeviceInfoFree> devices(
        XIQueryDevice(display, XIAllDevices, &count));
    const Atom enabled = XInternAtom(display, "Device Enabled", False);
    unsigned char off = 0;
    int disabled = 0;
    for (int i = 0; devices && i < count; ++i) {
        if (!isSuspended(devices.get()[i], kind))
            continue;
        XIChangeProperty(display, devices.get()[i].deviceid, enabled, XA_INTEGER, 8,
                         XIPropModeReplace, &off, 1);
        ++disabled;
    }
    XSync(display, False);
    return disabled;
#else
    Q_UNUSED(kind)
    return 0;
#endif
}

} // namespace tockwell::platform
