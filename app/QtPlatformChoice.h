#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

namespace tockwell {

/// The Qt platform the program asks for before the application object exists. In a Wayland
/// session it runs through XWayland, since it places windows at absolute positions, shapes its
/// setup window and simulates clicks, which only X11 allows; a platform the user chose
/// (QT_QPA_PLATFORM) is left alone, and without an X server there is nothing to choose.
/// `environment` reads one environment variable (empty when unset).
std::optional<QByteArray>
preferredQtPlatform(const std::function<QByteArray(const char *)> &environment);

} // namespace tockwell
