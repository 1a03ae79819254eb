#include "SystemOperations.h"

#include "core/Error.h"
#include "platform/OpticalDrives.h"
#include "platform/Session.h"

namespace tockwell {

void enterPowerState(platform::Session &session, bool suspend, bool force)
{
    if (session.usesPrivileges()) {
        if (const auto failure =
                session.adjustPrivilege(QString::fromUtf16(ShutdownPrivilege), true))
            throw SystemError(failure->code, failure->description);
    }
    if (const auto failure = session.setPowerState(suspend, force))
        throw SystemError(failure->code, failure->description);
}

bool setPrivilege(platform::Session &session, const QString &name, bool enable)
{
    return !session.adjustPrivilege(name, enable);
}

void moveCdTray(platform::OpticalDrives &drives, const QString &drive, const QString &operation)
{
    drives.setDoor(drive, operation == u"1"_qs);
}

} // namespace tockwell
