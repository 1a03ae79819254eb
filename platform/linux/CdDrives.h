#pragma once

#include "../OpticalDrives.h"

namespace tockwell::platform {

/// The optical drives the kernel knows, /dev/sr0 to /dev/sr9, each named by the digit of its
/// device ("0" for /dev/sr0). The tray moves through the kernel's cdrom ioctls.
class CdDrives final : public OpticalDrives
{
public:
    /// Looks for the drives under `root` (`/`; tests give a directory of their own with
    /// sys/class/block and dev in it).
    explicit CdDrives(const QString &root = QStringLiteral("/"));

    QStringList drives() override;
    void setDoor(const QString &drive, bool open) override;

    /// The device file of a drive identifier, or an empty string for a text that names none.
    QString devicePath(const QString &drive) const;

private:
    QString m_root;
};

} // namespace tockwell::platform
