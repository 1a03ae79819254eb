#pragma once

#include <QString>

namespace tockwell::platform {

/// The program's entry in the desktop's per-user autostart, which starts it when the user logs
/// on. Only an entry in the program's own plain form counts as the program's; any other entry
/// is someone else's and is never changed except by writing over it.
class Autostart
{
public:
    Autostart() = default;
    Autostart(const Autostart &) = delete;
    Autostart &operator=(const Autostart &) = delete;
    virtual ~Autostart() = default;

    /// Whether the entry exists in its plain form and names a file that exists.
    virtual bool isActive() = 0;

    /// Writes the entry (replacing whatever is there) so that it starts `programFile`; false
    /// when it cannot be written.
    virtual bool write(const QString &programFile) = 0;

    /// Deletes the entry, but only when it is active; other entries stay. False when an active
    /// entry cannot be deleted.
    virtual bool removeIfActive() = 0;
};

} // namespace tockwell::platform
