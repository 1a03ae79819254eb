#pragma once

#include "Audio.h"
#include "Autostart.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "Display.h"
#include "Input.h"
#include "MediaPlayer.h"
#include "OpticalDrives.h"
#include "Session.h"
#include "Shell.h"
#include "Sleep.h"
#include "WakeAlarm.h"

#include <memory>

namespace tockwell::platform {

/// Every operating-system operation the program uses, one interface per domain.
class Platform final
{
public:
    struct Parts
    {
        /// First, so that it goes last: the other parts may use it to the end.
        std::unique_ptr<Desktop> desktop;
        std::unique_ptr<Shell> shell;
        std::unique_ptr<Session> session;
        std::unique_ptr<Input> input;
        std::unique_ptr<Display> display;
        std::unique_ptr<Audio> audio;
        std::unique_ptr<MediaPlayer> mediaPlayer;
        std::unique_ptr<OpticalDrives> opticalDrives;
        std::unique_ptr<Dialogs> dialogs;
        std::unique_ptr<Sleep> sleep;
        std::unique_ptr<WakeAlarm> wakeAlarm;
        std::unique_ptr<Autostart> autostart;
    };

    explicit Platform(Parts parts);
    Platform(const Platform &) = delete;
    Platform &operator=(const Platform &) = delete;

    Shell &shell() const { return *m_parts.shell; }
    Session &session() const { return *m_parts.session; }
    Input &input() const { return *m_parts.input; }
    Display &display() const { return *m_parts.display; }
    Audio &audio() const { return *m_parts.audio; }
    MediaPlayer &mediaPlayer() const { return *m_parts.mediaPlayer; }
    OpticalDrives &opticalDrives() const { return *m_parts.opticalDrives; }
    Dialogs &dialogs() const { return *m_parts.dialogs; }
    Sleep &sleep() const { return *m_parts.sleep; }
    WakeAlarm &wakeAlarm() const { return *m_parts.wakeAlarm; }
    Autostart &autostart() const { return *m_parts.autostart; }
    Desktop &desktop() const { return *m_parts.desktop; }

private:
    Parts m_parts;
};

} // namespace tockwell::platform
