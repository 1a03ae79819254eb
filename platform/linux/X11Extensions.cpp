#include "SystemLibrary.h"

// After Qt's headers, which Xlib's macros would break.
#include "X11Extensions.h"

namespace tockwell::platform::x11 {

#if TOCKWELL_WITH_X11

std::unique_ptr<const DpmsFunctions> DpmsFunctions::load()
{
    SystemLibrary library(u"Xext"_qs, 6);
    auto dpms = std::make_unique<DpmsFunctions>();
    if (!library.resolve("DPMSQueryExtension", dpms->queryExtension) ||
        !library.resolve("DPMSCapable", dpms->capable) ||
        !library.resolve("DPMSInfo", dpms->info) || !library.resolve("DPMSEnable", dpms->enable) ||
        !library.resolve("DPMSForceLevel", dpms->forceLevel) ||
        !library.resolve("DPMSDisable", dpms->disable))
        return nullptr;
    return dpms;
}

std::unique_ptr<const XTestFunctions> XTestFunctions::load()
{
    SystemLibrary library(u"Xtst"_qs, 6);
    auto xtest = std::make_unique<XTestFunctions>();
    if (!library.resolve("XTestQueryExtension", xtest->queryExtension) ||
        !library.resolve("XTestFakeMotionEvent", xtest->fakeMotionEvent) ||
        !library.resolve("XTestFakeButtonEvent", xtest->fakeButtonEvent) ||
        !library.resolve("XTestFakeKeyEvent", xtest->fakeKeyEvent))
        return nullptr;
    return xtest;
}

std::unique_ptr<const XInputFunctions> XInputFunctions::load()
{
    SystemLibrary library(u"Xi"_qs, 6);
    auto xinput = std::make_unique<XInputFunctions>();
    if (!library.resolve("XIQueryDevice", xinput->queryDevice) ||
        !library.resolve("XIFreeDeviceInfo", xinput->freeDeviceInfo) ||
        !library.resolve("XIGetProperty", xinput->getProperty) ||
        !library.resolve("XIChangeProperty", xinput->changeProperty))
        return nullptr;
    return xinput;
}

#endif

} // namespace tockwell::platform::x11
