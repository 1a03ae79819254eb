#pragma once

// The narrow interface between the program and its Wayland back end, which lives in a library of
// its own (tockwell-wayland.so, next to the program) so that libwayland-client is loaded only in
// a Wayland session that needs it. Both sides are built together; the version guards against a
// library left over from another build.

#include "platform/DesktopSession.h"
#include "platform/Input.h"

#include <QPoint>
#include <QSize>

#include <cstdint>
#include <vector>

namespace tockwell::platform::wayland {

/// Bumped whenever the class below changes.
constexpr int InterfaceVersion = 2;

/// The library's exported functions, one for each family of compositors, each of the form
/// `Backend *ENTRY(int version)`: a new back end owned by the caller, or nullptr when `version`
/// is not the library's. The wlroots compositors' protocols:
constexpr const char *WlrootsEntryPoint = "tockwell_wlroots_backend";
/// KWin's fake input and display power management:
constexpr const char *KwinEntryPoint = "tockwell_kwin_backend";

/// A connection of the program's own to the session's Wayland compositor (its windows run
/// through XWayland), made when the back end is, and the protocols that it offers for input and
/// the outputs' power. Each call waits until the compositor has taken its requests.
class Backend
{
public:
    Backend() = default;
    Backend(const Backend &) = delete;
    Backend &operator=(const Backend &) = delete;
    virtual ~Backend() = default;

    /// What the compositor advertises; nothing where there is no connection.
    virtual WaylandOffers offers() const = 0;
    /// The modifiers down in order, the key down and up, the modifiers up in reverse order.
    /// `keys` are keysyms, for a compositor that takes a keymap of the program's (wlroots: a
    /// virtual keyboard whose keymap holds exactly these keysyms); `layoutCodes` are the kernel's
    /// codes of the keys that type them on the session's own layout, the key last, for a
    /// compositor that takes codes (KWin).
    virtual void pressKeys(const KeyCombination &keys,
                           const std::vector<uint32_t> &layoutCodes) = 0;
    /// Moves the virtual pointer to `pos` of a layout of `extent` (the compositor's logical
    /// pixels).
    virtual void movePointer(QPoint pos, QSize extent) = 0;
    /// Presses or releases the virtual pointer's left button.
    virtual void leftButton(bool down) = 0;
    /// Turns every output off, until something turns it on again.
    virtual void outputsOff() = 0;
};

} // namespace tockwell::platform::wayland
