#pragma once

#include <QString>

namespace tockwell::platform {

/// CD and DVD drives, named by drive letters as the setup window shows them.
class OpticalDrives
{
public:
    OpticalDrives() = default;
    OpticalDrives(const OpticalDrives &) = delete;
    OpticalDrives &operator=(const OpticalDrives &) = delete;
    virtual ~OpticalDrives() = default;

    /// Opens (`open`) or closes the tray of `drive`; a failure is not reported.
    virtual void setDoor(const QString &drive, bool open) = 0;
};

} // namespace tockwell::platform
