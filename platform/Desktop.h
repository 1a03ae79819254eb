#pragma once

#include <QString>

#include <functional>

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

/// Where a grant that the user gave the program once is kept between runs: a token the desktop
/// handed out, read at the next run so that the user is not asked again.
struct GrantKeeper
{
    std::function<QString()> read;
    std::function<void(const QString &)> write;
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
    /// Where the desktop's grants are kept; without a keeper they last for the run only.
    virtual void keepGrantsWith(GrantKeeper keeper) { Q_UNUSED(keeper) }
};

} // namespace tockwell::platform
