#pragma once

// For the backend's own sources only: brings Xlib's and the extensions' headers, so it comes after
// Qt's (Xlib defines Bool, Status and None as macros).
#include "LinuxConfig.h"

#include <memory>

#if TOCKWELL_WITH_X11
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/dpms.h>
#endif

namespace tockwell::platform::x11 {

// The functions of the X extensions that only some actions use, looked up by name in their
// libraries (an x11::Extension loads them at the first use). Their types come from the
// extensions' headers, so the compiler checks every call; the libraries are not linked.

#if TOCKWELL_WITH_X11

/// DPMS, from libXext: the monitor's power saving.
struct DpmsFunctions
{
    static std::unique_ptr<const DpmsFunctions> load();

    decltype(&DPMSQueryExtension) queryExtension = nullptr;
    decltype(&DPMSCapable) capable = nullptr;
    decltype(&DPMSInfo) info = nullptr;
    decltype(&DPMSEnable) enable = nullptr;
    decltype(&DPMSForceLevel) forceLevel = nullptr;
    decltype(&DPMSDisable) disable = nullptr;
};

/// XTest, from libXtst: simulated pointer movements, clicks and key presses.
struct XTestFunctions
{
    static std::unique_ptr<const XTestFunctions> load();

    decltype(&XTestQueryExtension) queryExtension = nullptr;
    decltype(&XTestFakeMotionEvent) fakeMotionEvent = nullptr;
    decltype(&XTestFakeButtonEvent) fakeButtonEvent = nullptr;
    decltype(&XTestFakeKeyEvent) fakeKeyEvent = nullptr;
};

/// XInput 2, from libXi: the input devices and their properties.
struct XInputFunctions
{
    static std::unique_ptr<const XInputFunctions> load();

    decltype(&XIQueryDevice) queryDevice = nullptr;
    decltype(&XIFreeDeviceInfo) freeDeviceInfo = nullptr;
    decltype(&XIGetProperty) getProperty = nullptr;
    decltype(&XIChangeProperty) changeProperty = nullptr;
};

#else

// A build without X11 loads nothing.
struct DpmsFunctions
{};
struct XTestFunctions
{};
struct XInputFunctions
{};

#endif

} // namespace tockwell::platform::x11
