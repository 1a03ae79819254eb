#pragma once

#include "../Session.h"

namespace tockwell::platform {

// The kinds of refusal shared by the Linux requests, with codes and texts kept from the Windows
// errors of the same meaning.
inline Failure accessDenied()
{
    return {5, u"Access is denied."_qs};
}

inline Failure timedOut()
{
    return {1460, u"This operation returned because the timeout period expired."_qs};
}

} // namespace tockwell::platform
