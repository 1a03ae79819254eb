// Prints how long the setup window takes to be created when every recent list holds many
// entries (default 10,000; the first argument changes it).
#include "engine/Clock.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "support/FakeSetupHost.h"
#include "ui/setup/SetupWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace tockwell;

namespace {

void fillLists(StoreFile &file, int entries)
{
    Store store(file);
    for (const QStringView list : keys::RecentLists) {
        store.openKey(keys::under(list));
        StoreTransaction transaction(file);
        for (int i = 0; i < entries; ++i)
            store.writeString(QStringLiteral("%1:%2:%3").arg(i / 3600).arg(i / 60 % 60).arg(i % 60),
                              QString());
        transaction.commit();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    QTemporaryDir dir;
    StoreFile file(dir.filePath(QStringLiteral("settings.db")));
    fillLists(file, entries);

    auto platform = platform::makeRecordingPlatform(std::make_shared<platform::Recorder>());
    const SystemClock clock;
    test::FakeSetupHost host;
    std::vector<qint64> times;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const SetupWindow window(*platform, file, clock, host, dir.path());
        times.push_back(timer.nsecsElapsed() / 1000);
    }
    std::sort(times.begin(), times.end());
    std::printf("setup window creation, %d entries in each of %zu lists: median %.1f ms "
                "(min %.1f, max %.1f)\n",
                entries, keys::RecentLists.size(), times[2] / 1000.0, times.front() / 1000.0,
                times.back() / 1000.0);
    return 0;
}
