#include "SystemInfo.h"

#include "Version.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace tockwell::systeminfo {

QString versionString()
{
    return QStringLiteral(TOCKWELL_VERSION);
}

namespace {

/// Whether `path` is an existing folder of this user's own, fit for private temporary files.
bool isOwnFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isAbsolute() && info.isDir() && info.isWritable() && info.ownerId() == ::geteuid();
}

} // namespace

QString tempDirectory()
{
    // $TMPDIR counts only when it names a folder of this user's; otherwise the system's own
    // folder, whose sticky bit keeps each user's files to that user.
    QString path = QDir::cleanPath(qEnvironmentVariable("TMPDIR"));
    if (!isOwnFolder(path))
        path = u"/tmp"_qs;
    if (!QFileInfo(path).isDir())
        return {};
    return path.endsWith(u'/') ? path : path + u'/';
}

} // namespace tockwell::systeminfo
