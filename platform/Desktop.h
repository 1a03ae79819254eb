#pragma once

#include <QString>

namespace tockwell::platform {

/// The operations whose means depend on the desktop session: an X11 session does them all
/// through X11; a Wayland compositor takes some of them through means of its own, and refuses
/// others.
enum class Operation
{
    PressKeys,
    Pointer, ///< pointer moves and clicks
    SuspendInput,
    MonitorOff,
    ShowDesktop,
};

/// How the session does an operation: through the back end named (`x11`, `wayland-wlroots`, …),
/// or not at all, and then why, in a sentence for the user.
struct Means
{
    QString backEnd;
    QString refusal;

    bool available() const { return !backEnd.isEmpty(); }
};

/// The desktop session the program runs in, as far as its operations go.
class Desktop
{
public:
    Desktop() = default;
    Desktop(const Desktop &) = delete;
    Desktop &operator=(const Desktop &) = delete;
    virtual ~Desktop() = default;

    /// How `operation` is done here; asked before each time it is done.
    virtual Means means(Operation operation) = 0;
};

} // namespace tockwell::platform
