#pragma once

#include "../LibraryBackend.h"
#include "wayland/WaylandBackend.h"

namespace tockwell::platform {

/// The Wayland back end's library (tockwell-wayland.so), opened in a wlroots session the first
/// time an operation's means are asked for: no other session loads libwayland-client.
class WaylandLibrary final : public LibraryBackend<wayland::Backend>
{
public:
    /// The library at `file`; by default the one next to the program.
    explicit WaylandLibrary(QString file = besideProgram(u"tockwell-wayland.so"_qs))
        : LibraryBackend(std::move(file), wayland::EntryPoint, wayland::InterfaceVersion)
    {}
};

} // namespace tockwell::platform
