// Prints how long the settings store takes for what the program does most.

#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

using namespace tockwell;

namespace {

/// The median time of `runs` calls, in milliseconds.
double medianMs(int runs, const std::function<void(int)> &call)
{
    std::vector<qint64> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        call(i);
        times.push_back(timer.nsecsElapsed());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return double(times[runs / 2]) / 1e6;
}

void report(const char *what, double ms, double target)
{
    std::printf("%-62s %8.3f ms  (target %g ms)%s\n", what, ms, target,
                ms <= target ? "" : "  OVER");
}

/// A store with `Path` and `count` entries in the web list.
void fill(const QString &path, int count)
{
    StoreFile file(path);
    StoreTransaction transaction(file);
    Store store(file);
    store.openKey(keys::Base);
    store.writeString(keys::Path, u"/usr/bin/tockwell"_qs);
    store.openKey(keys::under(keys::WWW_MRU));
    for (int i = 0; i < count; ++i)
        store.writeString(u"www.strona-numer-%1.pl"_qs.arg(i), QString());
    transaction.commit();
}

std::optional<QString> readPath(StoreFile &file)
{
    Store store(file);
    store.openKey(keys::Base);
    return store.readString(keys::Path);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString small = dir.filePath(u"small.db"_qs);
    const QString large = dir.filePath(u"large.db"_qs);
    fill(small, 60);
    fill(large, 10000);

    report("program start, 60 values: open the file, read one value",
           medianMs(200,
                    [&](int) {
                        StoreFile file(small);
                        readPath(file);
                    }),
           1);
    report("program start, 10,000 values: open the file, read one value",
           medianMs(200,
                    [&](int) {
                        StoreFile file(large);
                        readPath(file);
                    }),
           1);

    StoreFile file(large);
    report("handler: open a store, read one value", medianMs(5000, [&](int) { readPath(file); }),
           1);
    report("handler after the file rested: load SQLite, open the file, read one value",
           medianMs(200,
                    [&](int) {
                        file.rest();
                        readPath(file);
                    }),
           5);
    report("10,000 entries: add one already present",
           medianMs(300,
                    [&](int i) {
                        rememberEntry(file, keys::WWW_MRU, u"WWW.STRONA-NUMER-%1.PL"_qs.arg(i * 7));
                    }),
           2);
    report(
        "10,000 entries: add a new one",
        medianMs(300,
                 [&](int i) { rememberEntry(file, keys::WWW_MRU, u"www.nowa-%1.pl"_qs.arg(i)); }),
        2);
    report("10,000 entries: list all names",
           medianMs(50, [&](int) { readRecentList(file, keys::WWW_MRU); }), 20);
    return 0;
}
