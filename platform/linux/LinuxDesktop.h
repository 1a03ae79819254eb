#pragma once

#include "../Desktop.h"
#include "../DesktopSession.h"

namespace tockwell::platform {

/// The session the program runs in, read from its environment at the start; the means of each
/// operation follow from it (DesktopSession).
class LinuxDesktop final : public Desktop
{
public:
    LinuxDesktop();

    Means means(Operation operation) override;

private:
    DesktopSession m_session;
};

} // namespace tockwell::platform
