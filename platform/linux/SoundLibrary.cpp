#include "SoundLibrary.h"

#include <QCoreApplication>
#include <QLibrary>

namespace tockwell::platform {

SoundLibrary::SoundLibrary(QString file) : m_file(std::move(file)) {}

SoundLibrary::~SoundLibrary() = default;

QString SoundLibrary::besideProgram()
{
    return QCoreApplication::applicationDirPath() + u"/tockwell-sound.so"_qs;
}

sound::Backend *SoundLibrary::backend()
{
    if (m_tried)
        return m_backend.get();
    m_tried = true;
    // Never unloaded: the QLibrary object may go, the library stays.
    QLibrary library(m_file);
    using Entry = sound::Backend *(*)(int);
    const auto entry = reinterpret_cast<Entry>(library.resolve(sound::EntryPoint));
    if (!entry) {
        m_error = u"The sound library cannot be loaded: "_qs + library.errorString();
        return nullptr;
    }
    // The library hands over a new back end: owned here from now on.
    m_backend.reset(entry(sound::InterfaceVersion));
    if (!m_backend)
        m_error = u"The sound library %1 belongs to another build of the program."_qs.arg(m_file);
    return m_backend.get();
}

} // namespace tockwell::platform
