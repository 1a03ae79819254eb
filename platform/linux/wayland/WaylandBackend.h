#pragma once

// The narrow interface between the program and its Wayland back end, which lives in a library of
// its own (tockwell-wayland.so, next to the program) so that libwayland-client is loaded only in
// a Wayland session that needs it. Both sides are built together; the version guards against a
// library left over from another build.

#include "platform/DesktopSession.h"
#include "platform/Input.h"

#include <QPoint>
#include <QSize>

namespace tockwell::platform::wayland {

/// Bumped whenever the class below changes.
constexpr int InterfaceVersion = 1;

/// The library's one exported function: `Backend *tockwell_wayland_backend(int version)`, a new
/// back end owned by the caller, or nullptr when `version` is not the library's.
constexpr const char *EntryPoint = "tockwell_wayland_backend";

/// A connection of the program's own to the session's Wayland compositor (its windows run
/// through XWayland), made when the back end is, and the wlroots protocols that it offers for
/// input and the outputs' power. Each call waits until the compositor has taken its requests.
class Backend
{
public:
    Backend() = default;
    Backend(const Backend &) = delete;
    Backend &operator=(const Backend &) = delete;
    virtual ~Backend() = default;

    /// What the compositor advertises; nothing where there is no connection.
    virtual WaylandOffers offers() const = 0;
    /// The modifiers down in order, the key down and up, the modifiers up in reverse order, on a
    /// virtual keyboard whose keymap holds exactly these keysyms.
    virtual void pressKeys(const KeyCombination &keys) = 0;
    /// Moves the virtual pointer to `pos` of a layout of `extent`.
    virtual void movePointer(QPoint pos, QSize extent) = 0;
    /// Presses or releases the virtual pointer's left button.
    virtual void leftButton(bool down) = 0;
    /// Turns every output off, until something turns it on again.
    virtual void outputsOff() = 0;
};

} // namespace tockwell::platform::wayland
