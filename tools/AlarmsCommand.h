#pragma once

#include <QStringList>
#include <QTextStream>

namespace tockwell {
class StoreFile;
}

namespace tockwell::reg {

/// "tockwell-reg alarms list | add … | remove N|all": the armed alarms of the store
/// (`Armed\<n>`). `arguments` are those after "alarms". Returns the exit status; an error the
/// user is told throws RegError or StoreError.
int alarmsCommand(StoreFile &file, const QStringList &arguments, QTextStream &out,
                  QTextStream &err);

/// Whether "alarms" with `arguments` changes the store when it succeeds.
bool alarmsCommandChangesStore(const QStringList &arguments);

} // namespace tockwell::reg
