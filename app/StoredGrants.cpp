#include "StoredGrants.h"

#include "settings/Keys.h"

namespace tockwell {

platform::GrantKeeper storedGrants(StoreFile &file)
{
    const auto read = [&file] {
        Store store(file);
        return store.openKey(keys::Base)
                   ? store.readString(keys::RemoteDesktopToken).value_or(QString())
                   : QString();
    };
    const auto write = [&file](const QString &token) {
        try {
            Store store(file);
            if (store.openKey(keys::Base))
                store.writeString(keys::RemoteDesktopToken, token);
        } catch (const StoreError &) {
            // A store that cannot be written keeps the grant for this run only.
        }
    };
    return {read, write};
}

} // namespace tockwell
