#include "CdDrives.h"

#include <QDir>
#include <QFile>

// <linux/cdrom.h> needs the limits of <limits.h> first.
#include <fcntl.h>
#include <limits.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tockwell::platform {
namespace {

/// An open file descriptor, closed with its owner.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool isDriveId(const QString &drive)
{
    return drive.size() == 1 && drive.front().isDigit() && drive.front().unicode() < 0x80;
}

} // namespace

CdDrives::CdDrives(const QString &root) : m_root(QDir(root).absolutePath()) {}

QStringList CdDrives::drives()
{
    QStringList found;
    const QDir block(m_root + u"/sys/class/block"_qs);
    for (const QString &name :
         block.entryList({u"sr?"_qs}, QDir::AllEntries | QDir::System, QDir::Name)) {
        const QString id = name.mid(2);
        if (isDriveId(id))
            found.append(id);
    }
    return found;
}

QString CdDrives::devicePath(const QString &drive) const
{
    return isDriveId(drive) ? m_root + u"/dev/sr"_qs + drive : QString();
}

void CdDrives::setDoor(const QString &drive, bool open)
{
    // No drive, no disc access or a tray that cannot move: nothing happens, as the callers want.
    const QString path = devicePath(drive);
    if (path.isEmpty())
        return;
    // O_NONBLOCK opens a drive with no disc or with its tray out.
    const FileDescriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return;
    ::ioctl(fd.get(), open ? CDROMEJECT : CDROMCLOSETRAY, 0);
}

} // namespace tockwell::platform
