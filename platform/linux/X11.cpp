#include "X11.h"

#include "LinuxConfig.h"

#include <QGuiApplication>

namespace tockwell::platform::x11 {

_XDisplay *display()
{
#if TOCKWELL_WITH_X11
    // Not qGuiApp: a program of only a QCoreApplication (a helper, a test) has no display.
    const auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!application || QGuiApplication::platformName() != u"xcb"_qs)
        return nullptr;
    const auto *x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
#else
    return nullptr;
#endif
}

} // namespace tockwell::platform::x11
