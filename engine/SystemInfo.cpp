#include "SystemInfo.h"

#include "Version.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkInformation>

#include <unistd.h>

namespace tockwell::systeminfo {

QString versionString()
{
    return QStringLiteral(TOCKWELL_VERSION);
}

bool isOnline()
{
    // Loading a backend costs a plugin and, for some, a D-Bus connection: only when first asked.
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend() &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return true;
    const QNetworkInformation *info = QNetworkInformation::instance();
    if (!info || !info->supports(QNetworkInformation::Feature::Reachability))
        return true;
    switch (info->reachability()) {
    case QNetworkInformation::Reachability::Disconnected:
    case QNetworkInformation::Reachability::Local:
        return false;
    case QNetworkInformation::Reachability::Unknown:
    case QNetworkInformation::Reachability::Site:
    case QNetworkInformation::Reachability::Online:
        break;
    }
    return true;
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
