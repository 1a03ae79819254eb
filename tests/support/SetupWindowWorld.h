#pragma once

#include "platform/recording/RecordingPlatform.h"
#include "settings/Store.h"
#include "support/Controls.h"
#include "support/FakeClock.h"
#include "support/FakeSetupHost.h"
#include "ui/setup/SetupWindow.h"

#include <QTemporaryDir>

#include <memory>

namespace tockwell::test {

/// What a setup window lives in during a test: a store in a temporary folder (also the program's
/// folder), the recording platform, a fake clock and a fake program around it. Made anew for
/// every test function.
struct SetupWindowWorld
{
    QTemporaryDir dir;
    StoreFile storeFile{dir.filePath(QStringLiteral("settings.db"))};
    std::shared_ptr<platform::Recorder> recorder = std::make_shared<platform::Recorder>();
    std::unique_ptr<platform::Platform> platform = platform::makeRecordingPlatform(recorder);
    FakeClock clock;
    FakeSetupHost host;

    /// A setup window created on this store and shown.
    std::unique_ptr<SetupWindow> makeWindow()
    {
        auto window = std::make_unique<SetupWindow>(*platform, storeFile, clock, host, dir.path());
        window->show();
        return window;
    }
};

} // namespace tockwell::test
