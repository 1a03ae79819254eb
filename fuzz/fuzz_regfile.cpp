// The import of tockwell-reg on any file: raw bytes as read from disk (UTF-16LE with a
// byte-order mark, UTF-8, or REGEDIT4 in Windows-1250). A file is refused with RegError or
// read; what is read is applied to a fresh store, and every top-level key then exports to a
// file that imports again into the same key (export, import and export give the same bytes).
#include "FuzzCheck.h"
#include "tools/RegFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

using namespace tockwell;
using tockwell::fuzz::check;

namespace {

/// A directory for the stores, in memory where the system has one (the store syncs each commit).
const QTemporaryDir &storeDirectory()
{
    const QString shm = u"/dev/shm"_qs;
    static const QTemporaryDir directory((QFileInfo(shm).isWritable() ? shm : QDir::tempPath()) +
                                         u"/tockwell-fuzz-XXXXXX"_qs);
    return directory;
}

/// Removes the store `name` with its journal files and opens it afresh.
std::unique_ptr<StoreFile> freshStore(const QString &name)
{
    const QString path = storeDirectory().filePath(name);
    for (const QString &suffix : {QString(), u"-wal"_qs, u"-shm"_qs, u"-journal"_qs})
        QFile::remove(path + suffix);
    return std::make_unique<StoreFile>(path);
}

QStringList topLevelKeys(StoreFile &file)
{
    Store store(file);
    store.openKey(QString());
    return store.subkeyNames();
}

void checkExportImportsAgain(StoreFile &file)
{
    for (const QString &key : topLevelKeys(file)) {
        const QByteArray exported = reg::exportKey(file, key);
        std::vector<reg::RegChange> again;
        try {
            again = reg::parseRegFile(exported);
        } catch (const reg::RegError &e) {
            check(false, "an exported key imports again", e.text());
        }
        const auto copy = freshStore(u"copy.db"_qs);
        reg::applyChanges(*copy, again);
        check(reg::exportKey(*copy, key) == exported, "export, import and export agree", key);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<reg::RegChange> changes;
    try {
        changes = reg::parseRegFile(fuzz::bytesOf(data, size));
    } catch (const reg::RegError &) {
        return 0; // refused, with a line number for the user
    }
    for (const reg::RegChange &change : changes)
        check(!change.key.isEmpty(), "a change below the root", change.name);

    const auto file = freshStore(u"import.db"_qs);
    check(file->isOpen(), "the fresh store opens", file->path());
    try {
        reg::applyChanges(*file, changes);
    } catch (const StoreError &) {
        return 0; // refused as a whole by the store
    }
    checkExportImportsAgain(*file);
    return 0;
}
