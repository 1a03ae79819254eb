#include "LinuxPlatform.h"

#include "CdDrives.h"
#include "LinuxAudio.h"
#include "LinuxAutostart.h"
#include "LinuxDesktop.h"
#include "LinuxDialogs.h"
#include "LinuxDisplay.h"
#include "LinuxMediaPlayer.h"
#include "LinuxSession.h"
#include "LinuxShell.h"
#include "LinuxSleep.h"
#include "LinuxWakeAlarm.h"
#include "SessionRouting.h"
#include "SoundLibrary.h"
#include "X11Input.h"

namespace tockwell::platform {

std::unique_ptr<Platform> makeLinuxPlatform()
{
    Platform::Parts parts;
    parts.shell = std::make_unique<LinuxShell>();
    parts.session = std::make_unique<LinuxSession>();
    auto desktop = std::make_unique<LinuxDesktop>();
    parts.input = std::make_unique<SessionInput>(std::make_unique<X11Input>(), *desktop);
    parts.display = std::make_unique<SessionDisplay>(std::make_unique<LinuxDisplay>(), *desktop);
    // Both sound parts load the one sound library with the first sound.
    const auto sound = std::make_shared<SoundLibrary>();
    parts.audio = std::make_unique<LinuxAudio>(sound);
    parts.mediaPlayer = std::make_unique<LinuxMediaPlayer>(sound);
    parts.opticalDrives = std::make_unique<CdDrives>();
    parts.dialogs = std::make_unique<LinuxDialogs>();
    parts.sleep = std::make_unique<LinuxSleep>();
    parts.wakeAlarm = std::make_unique<LinuxWakeAlarm>();
    parts.autostart = std::make_unique<LinuxAutostart>();
    parts.desktop = std::move(desktop);
    return std::make_unique<Platform>(std::move(parts));
}

} // namespace tockwell::platform
