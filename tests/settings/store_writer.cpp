// Writes a burst of recent-list entries and prints each one after its write has returned.
// Usage: store_writer DATABASE PREFIX COUNT

#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Store.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    tockwell::StoreFile file(args[1]);
    if (!file.isOpen() || !file.damagedCopy().isEmpty())
        return 3;
    const int count = args[3].toInt();
    // A write that finds the store busy past the short wait is refused; like a user pressing
    // Start again, the writer tries again. It prints how many times it was refused.
    constexpr int attempts = 50;
    int refusals = 0;
    for (int i = 0; i < count; ++i) {
        const QString entry = args[2] + QString::number(i);
        for (int attempt = 1;; ++attempt) {
            try {
                tockwell::rememberEntry(file, tockwell::keys::WWW_MRU, entry);
                break;
            } catch (const tockwell::Error &e) {
                if (attempt == attempts) {
                    std::fprintf(stderr, "%s\n", e.what());
                    return 1;
                }
                ++refusals;
            }
        }
        std::printf("%s\n", entry.toUtf8().constData());
        std::fflush(stdout);
    }
    std::fprintf(stderr, "refused %d\n", refusals);
    return 0;
}
