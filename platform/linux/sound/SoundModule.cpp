// The entry point of tockwell-sound.so.

#include "DesktopAudio.h"
#include "GstPlayback.h"
#include "SoundBackend.h"

namespace tockwell::platform::sound {
namespace {

class DesktopBackend final : public Backend
{
public:
    std::unique_ptr<Audio> makeAudio() override { return std::make_unique<DesktopAudio>(); }
    std::unique_ptr<Playback> makePlayback(const QString &sink, EndHandler ended) override
    {
        return makeGstPlayback(sink, std::move(ended));
    }
};

} // namespace
} // namespace tockwell::platform::sound

// NOLINTNEXTLINE(readability-identifier-naming): the name the loader looks up
extern "C" Q_DECL_EXPORT tockwell::platform::sound::Backend *tockwell_sound_backend(int version)
{
    using namespace tockwell::platform::sound;
    return version == InterfaceVersion ? new DesktopBackend : nullptr;
}
