#pragma once

// Owners of the Wayland objects of the back ends' connections.

#include <memory>
#include <wayland-client.h>

namespace tockwell::platform::wayland {

/// A proxy of the connection, given back with its protocol's destroy request (or
/// wl_proxy_destroy for the core objects without one).
template <typename T, void (*Destroy)(T *)> struct ProxyFree
{
    void operator()(T *proxy) const { Destroy(proxy); }
};
template <typename T, void (*Destroy)(T *)> using Proxy = std::unique_ptr<T, ProxyFree<T, Destroy>>;

template <typename T> void destroyProxy(T *proxy)
{
    wl_proxy_destroy(reinterpret_cast<wl_proxy *>(proxy));
}

struct DisplayFree
{
    void operator()(wl_display *display) const { wl_display_disconnect(display); }
};
using Display = std::unique_ptr<wl_display, DisplayFree>;
using Registry = Proxy<wl_registry, destroyProxy<wl_registry>>;

/// Connects `display` to the session's compositor and `registry` to its globals, which
/// `listener` has been given, with `data`, by the time this returns; false without a compositor.
inline bool connectToCompositor(Display &display, Registry &registry,
                                const wl_registry_listener &listener, void *data)
{
    display.reset(wl_display_connect(nullptr));
    if (!display)
        return false;
    registry.reset(wl_display_get_registry(display.get()));
    wl_registry_add_listener(registry.get(), &listener, data);
    wl_display_roundtrip(display.get());
    return true;
}

} // namespace tockwell::platform::wayland
