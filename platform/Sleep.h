#pragma once

#include <QString>

#include <functional>

namespace tockwell::platform {

/// The machine's sleep as the program sees it: hearing it begin and end, and holding it back for
/// the moment that the program needs to prepare for it.
class Sleep
{
public:
    /// Called with true just before the machine goes to sleep, with false after it woke up.
    using Listener = std::function<void(bool goingToSleep)>;

    Sleep() = default;
    Sleep(const Sleep &) = delete;
    Sleep &operator=(const Sleep &) = delete;
    virtual ~Sleep() = default;

    /// Tells `listener` from now on when the machine goes to sleep and when it wakes. Returns
    /// whether the system announces these at all; without that the caller has to find a resume
    /// by itself.
    virtual bool watchSleep(Listener listener) = 0;

    /// Takes a delay lock on sleep in the name of `who`, for the reason `why`: before the machine
    /// sleeps the listener hears of it, and the sleep waits (a few seconds at most) until the lock
    /// is given back. Returns whether the lock is held; taking it again while held changes
    /// nothing.
    virtual bool inhibitSleep(const QString &who, const QString &why) = 0;

    /// Gives the lock back; nothing when none is held.
    virtual void releaseSleep() = 0;
};

} // namespace tockwell::platform
