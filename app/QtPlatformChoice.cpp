#include "QtPlatformChoice.h"

namespace tockwell {

std::optional<QByteArray>
preferredQtPlatform(const std::function<QByteArray(const char *)> &environment)
{
    if (!environment("QT_QPA_PLATFORM").isEmpty() || environment("DISPLAY").isEmpty())
        return std::nullopt;
    const bool wayland =
        environment("XDG_SESSION_TYPE") == "wayland" || !environment("WAYLAND_DISPLAY").isEmpty();
    if (!wayland)
        return std::nullopt;
    return QByteArray("xcb");
}

} // namespace tockwell
