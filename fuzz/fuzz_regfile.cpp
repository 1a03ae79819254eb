// The import of tockwell-reg on any file: raw bytes as read from disk (UTF-16LE with a
// byte-order mark, UTF-8, or REGEDIT4 in Windows-1250). A file is refused with RegError or
// read; what is read is applied to a fresh store, and every top-level key then exports to a
// file that imports again into the same key (export, import and export give the same bytes).
// The same bytes also build a store directly, with value names, texts and key names holding
// any UTF-16 code unit (control characters too): its export imports back into an identical
// tree, or is refused when a key name holds a control character.
#include "FuzzCheck.h"
#include "settings/Store.h"
#include "tools/RegFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <optional>

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

/// Every key and value below `path`, in store order, one line each.
QStringList dump(StoreFile &file, const QString &path)
{
    Store store(file);
    store.openKey(path);
    QStringList lines{u"key "_qs + path};
    for (const QString &name : store.valueNames()) {
        const std::optional<RawValue> v = store.readRaw(name);
        if (!v) {
            lines << u"unreadable "_qs + name;
            continue;
        }
        lines << u"value "_qs + name << QString::number(v->type) + u' ' + v->text
              << QString::number(v->number) + u' ' + QString::fromLatin1(v->bytes.toHex());
    }
    for (const QString &subkey : store.subkeyNames())
        lines << dump(file, reg::subkeyPath(path, subkey));
    return lines;
}

/// The input read as steps: a byte choosing the step, then length-prefixed texts of UTF-16
/// code units. Half surrogate pairs, U+FFFE, U+FFFF and a leading U+FEFF become U+FFFD: SQLite
/// changes or drops them (a value so named cannot be found by its name), the store does not
/// hold them.
class Steps
{
public:
    explicit Steps(const QByteArray &bytes) : m_bytes(bytes) {}
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    uchar byte() { return atEnd() ? 0 : uchar(m_bytes[m_pos++]); }
    QString text()
    {
        QString text;
        for (int length = byte() % 16; length > 0 && m_pos + 1 < m_bytes.size(); --length) {
            text += QChar(char16_t(uchar(m_bytes[m_pos]) | uchar(m_bytes[m_pos + 1]) << 8));
            m_pos += 2;
        }
        if (text.startsWith(QChar(0xfeff)))
            text[0] = QChar::ReplacementCharacter;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else if (text[i].isSurrogate() || text[i].unicode() >= 0xfffe)
                text[i] = QChar::ReplacementCharacter;
        }
        return text;
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
};

/// Whether `text` holds half of a surrogate pair.
bool hasLoneSurrogate(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

/// Whether the tree below `top` holds what no registry file carries: a key name with a
/// control character, or half of a surrogate pair anywhere.
bool holdsUnwritable(const QStringList &dumped)
{
    return std::any_of(dumped.begin(), dumped.end(), [](const QString &line) {
        const bool key = line.startsWith(u"key "_qs);
        return hasLoneSurrogate(line) || (key && std::any_of(line.begin(), line.end(), [](QChar c) {
                                              return c.unicode() < 0x20 || c.unicode() == 0x7f;
                                          }));
    });
}

void checkDirectStoreRoundTrip(const QByteArray &input)
{
    const QString top = u"Fuzz"_qs;
    const auto file = freshStore(u"direct.db"_qs);
    {
        Store store(*file);
        QString key = top;
        store.openKey(key);
        Steps steps(input);
        for (int count = 0; !steps.atEnd() && count < 64; ++count) {
            const uchar step = steps.byte() % 4;
            const QString name = steps.text();
            if (step == 0) {
                store.writeString(name, steps.text());
            } else if (step == 1) {
                store.writeExpandString(name, steps.text());
            } else if (step == 2 && !keyPathParts(name).isEmpty()) {
                key = reg::subkeyPath(key, name);
                store.openKey(key);
            } else {
                key = top;
                store.openKey(key);
            }
        }
    }
    const QStringList before = dump(*file, top);
    QByteArray exported;
    try {
        exported = reg::exportKey(*file, top);
    } catch (const reg::RegError &e) {
        check(holdsUnwritable(before), "only what no file carries is not exported", e.text());
        return;
    }
    check(!holdsUnwritable(before), "what no file carries is not exported",
          before.join(QLatin1Char('|')));
    std::vector<reg::RegChange> again;
    try {
        again = reg::parseRegFile(exported);
    } catch (const reg::RegError &e) {
        check(false, "an exported store imports again", e.text());
    }
    const auto copy = freshStore(u"copy.db"_qs);
    reg::applyChanges(*copy, again);
    check(dump(*copy, top) == before, "export and import give the same tree",
          before.join(QLatin1Char('|')));
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
    const QByteArray input = fuzz::bytesOf(data, size);
    checkDirectStoreRoundTrip(input);
    std::vector<reg::RegChange> changes;
    try {
        changes = reg::parseRegFile(input);
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
