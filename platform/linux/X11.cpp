#include "X11.h"

#include "LinuxConfig.h"

#include <QGuiApplication>

namespace tockwell::platform::x11 {

_XDisplay *display()
{
#if TOCKWELL_WITH_X11
    if (!qGuiApp || QGuiApplication::platformName() != u"xcb"_qs)
        return nullptr;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
#else
    return nullptr;
#endif
}

} // namespace tockwell::platform::x11
