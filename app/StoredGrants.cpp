#include "StoredGrants.h"

#include "settings/Keys.h"

namespace tockwell {

platform::GrantKeeper storedGrants(StoreFile &file)
{
    const QString base = keys::Base.toString();
    const QString name = keys::RemoteDesktopToken.toString();
    const auto read = [&file, base, name] {
        Store store(file);
        return store.openKey(base) ? store.readString(name).value_or(QString()) : QString();
    };
    const auto write = [&file, base, name](const QString &token) {
        try {
            Store store(file);
            if (store.openKey(base))
                store.writeString(name, token);
        } catch (const StoreError &) {
            // A store that cannot be written keeps the grant for this run only.
        }
    };
    return {read, write};
}

} // namespace tockwell
