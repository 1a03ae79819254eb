#pragma once

#include "platform/Desktop.h"
#include "settings/Store.h"

namespace tockwell {

/// The desktop's grants kept in the store under the base key: the remote-desktop portal's restore
/// token. A token that cannot be written lasts for the run only; the user is asked again at the
/// next one.
platform::GrantKeeper storedGrants(StoreFile &file);

} // namespace tockwell
