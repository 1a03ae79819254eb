#include "KwinDesktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace tockwell::platform {
namespace {

const QString KwinService = u"org.kde.KWin"_qs;

} // namespace

bool KwinDesktop::offersService()
{
    const QDBusConnectionInterface *names = QDBusConnection::sessionBus().interface();
    return names && names->isServiceRegistered(KwinService).value();
}

void KwinDesktop::showDesktop()
{
    QDBusMessage show =
        QDBusMessage::createMethodCall(KwinService, u"/KWin"_qs, KwinService, u"showDesktop"_qs);
    show.setArguments({true});
    QDBusConnection::sessionBus().call(show);
}

} // namespace tockwell::platform
