#pragma once

#include <QStringList>

namespace tockwell::platform {

/// CD and DVD drives, named by drive letters as the setup window shows them.
class OpticalDrives
{
public:
    OpticalDrives() = default;
    OpticalDrives(const OpticalDrives &) = delete;
    OpticalDrives &operator=(const OpticalDrives &) = delete;
    virtual ~OpticalDrives() = default;

    /// The optical drives of the machine, one identifier of one character each (what `setDoor`
    /// takes), in order; empty when there is none.
    virtual QStringList drives() = 0;

    /// Opens (`open`) or closes the tray of `drive`; a failure is not reported.
    virtual void setDoor(const QString &drive, bool open) = 0;
};

} // namespace tockwell::platform
