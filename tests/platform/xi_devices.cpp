// xi_devices: prints every XInput device of the X display ($DISPLAY) as "ENABLED NAME", one a
// line, where ENABLED is its "Device Enabled" property (1 or 0). For the end-to-end tests.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <cstdio>

int main()
{
    ::Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const Atom enabledAtom = XInternAtom(display, "Device Enabled", False);
    int count = 0;
    XIDeviceInfo *devices = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; i < count; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        XIGetProperty(display, devices[i].deviceid, enabledAtom, 0, 1, False, XA_INTEGER, &type,
                      &format, &items, &after, &data);
        std::printf("%d %s\n", data && items > 0 && data[0] ? 1 : 0, devices[i].name);
        XFree(data);
    }
    XIFreeDeviceInfo(devices);
    XCloseDisplay(display);
    return 0;
}
