#include "LoadPlatform.h"

#include "../recording/RecordingPlatform.h"
#include "LinuxDisplay.h"
#include "LinuxPlatform.h"

#include <QtGlobal>

namespace tockwell::platform {

std::unique_ptr<Platform> loadPlatform()
{
    const QString choice = qEnvironmentVariable("TOCKWELL_PLATFORM");
    const QLatin1String recordPrefix("record:");
    if (choice.startsWith(recordPrefix))
        return makeRecordingPlatform(std::make_shared<Recorder>(choice.mid(recordPrefix.size())),
                                     &LinuxDisplay::primaryWorkArea);
    return makeLinuxPlatform();
}

} // namespace tockwell::platform
