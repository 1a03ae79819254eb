#include "U_Wspulny.h"

#include "Version.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkInformation>

namespace tockwell::wspulny {

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

QString tempDirectory()
{
    QString path = QDir::tempPath();
    if (!path.isEmpty() && QFileInfo(path).isDir() && !path.endsWith(u'/'))
        path += u'/';
    return path;
}

QString systemDirectory(const QString &name)
{
    const QString upper = name.toUpper();
    if (upper == u"WIN")
        return u"/usr"_qs;
    if (upper == u"SYS")
        return u"/usr/bin"_qs;
    return {};
}

} // namespace tockwell::wspulny
