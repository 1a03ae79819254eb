#pragma once

#include "../LibraryBackend.h"
#include "wayland/WaylandBackend.h"

namespace tockwell::platform {

/// The Wayland back end's library (tockwell-wayland.so), opened in a wlroots or KWin session the
/// first time an operation's means are asked for: no other session loads libwayland-client.
class WaylandLibrary final : public LibraryBackend<wayland::Backend>
{
public:
    /// The back end of `entryPoint` (wayland::WlrootsEntryPoint or wayland::KwinEntryPoint) in
    /// the library at `file`.
    WaylandLibrary(QString file, const char *entryPoint)
        : LibraryBackend(std::move(file), entryPoint, wayland::InterfaceVersion)
    {}
};

} // namespace tockwell::platform
