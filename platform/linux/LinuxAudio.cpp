#include "LinuxAudio.h"

#include "SoundLibrary.h"

#include <QApplication>

namespace tockwell::platform {

LinuxAudio::LinuxAudio(std::shared_ptr<SoundLibrary> library) : m_library(std::move(library)) {}

LinuxAudio::~LinuxAudio() = default;

Audio *LinuxAudio::audio()
{
    if (!m_made) {
        m_made = true;
        if (sound::Backend *backend = m_library->backend())
            m_audio = backend->makeAudio();
    }
    return m_audio.get();
}

void LinuxAudio::maximiseVolume()
{
    if (Audio *sound = audio())
        sound->maximiseVolume();
}

void LinuxAudio::beep()
{
    if (Audio *sound = audio())
        sound->beep();
    else
        QApplication::beep();
}

} // namespace tockwell::platform
