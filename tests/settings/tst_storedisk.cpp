// The store on disks that refuse: full, read-only, held by another program, or holding a
// database of another program. Run as root, the test works in a private mount namespace (small
// tmpfs file systems stand for a full or read-only disk) and without the right to override file
// permissions, so that a read-only file is read-only to it; cases that need a mount are skipped
// where mounting is not allowed.

#include "settings/Keys.h"
#include "settings/LastSettings.h"
#include "settings/RecentList.h"
#include "settings/Store.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <linux/capability.h>
#include <memory>
#include <optional>
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace tockwell;

namespace {

const QString Key = u"Software\\Kestrolab\\Tockwell"_qs;

/// A root test gets its own mounts, which vanish with it.
bool enterPrivateMounts()
{
    return ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

/// Root reads and writes every file whatever its permissions; a user does not.
bool dropFileAccessOverride()
{
    if (::geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    for (const unsigned cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
        data[cap / 32].effective &= ~(1u << (cap % 32));
    return ::syscall(SYS_capset, &header, data) == 0;
}

/// A tmpfs of a few hundred kilobytes mounted on a folder, to be filled or made read-only.
class SmallDisk final
{
public:
    explicit SmallDisk(const QString &folder) : m_folder(QFile::encodeName(folder))
    {
        m_mounted =
            ::mount("tockwell-test", m_folder.constData(), "tmpfs", 0, "size=512k,mode=0755") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }

    /// Writes a file until the disk is full.
    bool fill()
    {
        const QByteArray filler = m_folder + "/filler";
        const int fd = ::open(filler.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), block.size()) > 0) {
        }
        const bool full = errno == ENOSPC;
        while (::write(fd, "x", 1) > 0) {
        }
        ::close(fd);
        return full;
    }
    void makeRoom() { ::unlink((m_folder + "/filler").constData()); }

    bool setReadOnly(bool readOnly)
    {
        return ::mount(nullptr, m_folder.constData(), nullptr,
                       MS_REMOUNT | (readOnly ? MS_RDONLY : 0), "size=512k,mode=0755") == 0;
    }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

void writeValue(StoreFile &file, const QString &name, const QString &text)
{
    Store store(file);
    store.openKey(Key);
    store.writeString(name, text);
}

std::optional<QString> readValue(StoreFile &file, const QString &name)
{
    Store store(file);
    store.openKey(Key);
    return store.readString(name);
}

/// The text of the StoreError that `change` throws; empty when it throws none.
template <typename Change> QString refusalOf(Change &&change)
{
    try {
        change();
    } catch (const StoreError &e) {
        return e.text();
    }
    return {};
}

/// Runs `sql` on its own connection to `path`, as another program would.
struct OtherProgram
{
    sqlite3 *db = nullptr;
    explicit OtherProgram(const QString &path, int flags = SQLITE_OPEN_READWRITE)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    }
    ~OtherProgram() { sqlite3_close_v2(db); }
    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;
    int run(const char *sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
};

enum class Refusal
{
    FullDisk,
    ReadOnlyFile,
    ReadOnlyFolder,
    ReadOnlyFileSystem
};

} // namespace

class TestStoreDisk : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    bool m_canMount = false;
    QString folder() const { return m_dir.filePath(u"disk"_qs); }
    QString dbPath() const { return folder() + u"/settings.db"_qs; }

    /// A store holding `Path` with Polish letters, closed as the program leaves it.
    void makeStore()
    {
        StoreFile file(dbPath());
        QVERIFY(file.isWritable());
        writeValue(file, u"Path"_qs, u"/home/łucja/tockwell"_qs);
    }

private slots:
    void initTestCase()
    {
        m_canMount = enterPrivateMounts();
        QVERIFY(dropFileAccessOverride());
    }

    void init()
    {
        QVERIFY(QDir().mkpath(folder()));
        ::chmod(QFile::encodeName(folder()).constData(), 0755);
    }

    void cleanup()
    {
        ::chmod(QFile::encodeName(folder()).constData(), 0755);
        QDir(folder()).removeRecursively();
    }

    // First, before anything else in the process uses SQLite: a store of a few values holds a
    // few pages of SQLite's cache, not the 20 pages (about 85 kB) SQLite sets aside by default.
    void smallStoreHoldsLittleMemory()
    {
        makeStore();
        StoreFile file(dbPath());
        QVERIFY(file.isWritable());
        QCOMPARE(readValue(file, u"Path"_qs), std::optional(u"/home/łucja/tockwell"_qs));
        QCOMPARE_LT(sqlite3_memory_used(), 64 * 1024);
    }

    // The settings are read and the user is told why they cannot be kept; a change names the
    // file and the cause, and is dropped once the user has been told; when the cause goes, the
    // next change is kept, without a new start.
    void storeThatCannotBeWrittenIsRead_data()
    {
        QTest::addColumn<Refusal>("refusal");
        QTest::addColumn<QString>("cause");
        QTest::newRow("full disk") << Refusal::FullDisk << u"brak miejsca na dysku"_qs;
        QTest::newRow("read-only file") << Refusal::ReadOnlyFile << u"brak uprawnień do zapisu"_qs;
        QTest::newRow("read-only folder")
            << Refusal::ReadOnlyFolder << u"brak uprawnień do zapisu"_qs;
        QTest::newRow("read-only file system")
            << Refusal::ReadOnlyFileSystem << u"system plików jest tylko do odczytu"_qs;
    }
    void storeThatCannotBeWrittenIsRead()
    {
        QFETCH(Refusal, refusal);
        QFETCH(QString, cause);
        const bool needsDisk =
            refusal == Refusal::FullDisk || refusal == Refusal::ReadOnlyFileSystem;
        if (needsDisk && !m_canMount)
            QSKIP("mounting a small file system needs root");
        std::unique_ptr<SmallDisk> disk;
        if (needsDisk) {
            disk = std::make_unique<SmallDisk>(folder());
            QVERIFY(disk->isMounted());
        }
        makeStore();
        const QByteArray db = QFile::encodeName(dbPath());
        const QByteArray dir = QFile::encodeName(folder());
        switch (refusal) {
        case Refusal::FullDisk:
            QVERIFY(disk->fill());
            break;
        case Refusal::ReadOnlyFile:
            QCOMPARE(::chmod(db.constData(), 0444), 0);
            break;
        case Refusal::ReadOnlyFolder:
            QCOMPARE(::chmod(dir.constData(), 0555), 0);
            break;
        case Refusal::ReadOnlyFileSystem:
            QVERIFY(disk->setReadOnly(true));
            break;
        }

        {
            StoreFile file(dbPath());
            QVERIFY(file.isOpen());
            QVERIFY(!file.isWritable());
            QCOMPARE(readValue(file, u"Path"_qs), u"/home/łucja/tockwell"_qs);
            QVERIFY(file.notice().contains(dbPath()));
            QVERIFY2(file.notice().contains(cause), qPrintable(file.notice()));

            const QString refused = refusalOf([&] { writeValue(file, u"O_ZA"_qs, u"2"_qs); });
            QVERIFY2(refused.contains(u"'O_ZA'"_qs) && refused.contains(dbPath()) &&
                         refused.contains(cause),
                     qPrintable(refused));
            QVERIFY(refusalOf([&] { StoreTransaction transaction(file); }).contains(cause));

            // Resting and waking leave it as it was: read, and refused for the same cause.
            file.rest();
            QVERIFY(file.isResting());
            QCOMPARE(readValue(file, u"Path"_qs), u"/home/łucja/tockwell"_qs);
            QVERIFY(refusalOf([&] { writeValue(file, u"O_ZA"_qs, u"2"_qs); }).contains(cause));

            // Told once: what Start and the options write is dropped without a word.
            file.acceptReadOnly();
            QVERIFY(refusalOf([&] {
                        writeStartSettings(file, true, false, u"1"_qs, u"Komunikat"_qs);
                        rememberEntry(file, keys::O_MRU, u"7:0:0"_qs);
                        clearRecentList(file, keys::WWW_MRU);
                    }).isEmpty());

            switch (refusal) {
            case Refusal::FullDisk:
                disk->makeRoom();
                break;
            case Refusal::ReadOnlyFile:
                QCOMPARE(::chmod(db.constData(), 0644), 0);
                break;
            case Refusal::ReadOnlyFolder:
                QCOMPARE(::chmod(dir.constData(), 0755), 0);
                break;
            case Refusal::ReadOnlyFileSystem:
                QVERIFY(disk->setReadOnly(false));
                break;
            }
            rememberEntry(file, keys::O_MRU, u"7:0:0"_qs);
            QVERIFY(file.isWritable());
        }
        StoreFile file(dbPath());
        QVERIFY(file.isWritable());
        QVERIFY(file.notice().isEmpty());
        QCOMPARE(readRecentList(file, keys::O_MRU).current, u"7:0:0"_qs);
        QCOMPARE(readValue(file, u"Path"_qs), u"/home/łucja/tockwell"_qs);
    }

    // Committed writes that are still only in the journal of a killed program are read too.
    void fullDiskReadsWhatAKilledWriterLeftInTheJournal()
    {
        if (!m_canMount)
            QSKIP("mounting a small file system needs root");
        SmallDisk disk(folder());
        QVERIFY(disk.isMounted());
        makeStore();
        QProcess writer;
        writer.start(QStringLiteral(STORE_WRITER), {dbPath(), u"www.k"_qs, u"1000000"_qs});
        QVERIFY(writer.waitForStarted(30000));
        QVERIFY(writer.waitForReadyRead(30000));
        writer.kill();
        QVERIFY(writer.waitForFinished(30000));
        QStringList returned = QString::fromUtf8(writer.readAllStandardOutput()).split(u'\n');
        returned.removeLast(); // cut by the kill, or empty
        QVERIFY(!returned.isEmpty());
        QVERIFY(QFileInfo(dbPath() + u"-wal"_qs).size() > 0);
        QVERIFY(disk.fill());

        StoreFile file(dbPath());
        QVERIFY(file.isOpen());
        QVERIFY(file.isWritable() || file.notice().contains(u"brak miejsca na dysku"_qs));
        const QStringList held = readRecentList(file, keys::WWW_MRU).names;
        for (const QString &entry : std::as_const(returned))
            QVERIFY2(held.contains(entry), qPrintable(entry));
    }

    // A copy that could only read the store left its journal and index file read-only; once the
    // store may be written again, writes work without anyone deleting them.
    void readOnlyLeftoversDoNotStopWriting()
    {
        makeStore();
        const QByteArray db = QFile::encodeName(dbPath());
        QCOMPARE(::chmod(db.constData(), 0444), 0);
        {
            OtherProgram reader(dbPath()); // opened for reading only, as the file is read-only
            QCOMPARE(reader.run("SELECT count(*) FROM vals"), SQLITE_OK);
        }
        const QByteArray index = QFile::encodeName(dbPath() + u"-shm"_qs);
        QVERIFY(QFileInfo::exists(dbPath() + u"-shm"_qs));
        QVERIFY(::faccessat(AT_FDCWD, index.constData(), W_OK, AT_EACCESS) != 0);
        QCOMPARE(::chmod(db.constData(), 0644), 0);

        StoreFile file(dbPath());
        QVERIFY(file.isWritable());
        QVERIFY(file.notice().isEmpty());
        writeValue(file, u"O_ZA"_qs, u"2"_qs);
        rememberEntry(file, keys::O_MRU, u"7:0:0"_qs);
        QCOMPARE(readValue(file, u"O_ZA"_qs), u"2"_qs);
    }

    // A SQLite database of another program is not a settings store, whatever its user_version:
    // it is kept aside unchanged, with the notice of a damaged file, and a fresh store is used.
    void foreignDatabaseIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("schema");
        QTest::newRow("other tables") << QByteArray("CREATE TABLE notes (id, text);"
                                                    "INSERT INTO notes VALUES (1, 'mine');");
        QTest::newRow("tables of our names in another shape")
            << QByteArray("CREATE TABLE keys (a, b); CREATE TABLE vals (c);"
                          "INSERT INTO keys VALUES (1, 2);");
        QTest::newRow("in WAL mode") << QByteArray("PRAGMA journal_mode=WAL; CREATE TABLE t (x);");
    }
    void foreignDatabaseIsKeptAside()
    {
        QFETCH(QByteArray, schema);
        {
            OtherProgram other(dbPath(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            QCOMPARE(other.run(schema.constData()), SQLITE_OK);
        }
        QFile original(dbPath());
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        original.close();

        for (int start = 0; start < 2; ++start) {
            StoreFile file(dbPath());
            QVERIFY(file.isWritable());
            QCOMPARE(file.damagedCopy().isEmpty(), start > 0); // moved once, told once
            if (start == 0) {
                QVERIFY(file.notice().contains(file.damagedCopy()));
                QFile kept(file.damagedCopy());
                QVERIFY(kept.open(QIODevice::ReadOnly));
                QCOMPARE(kept.readAll(), bytes);
            }
            writeValue(file, u"O_ZA"_qs, u"2"_qs);
            QCOMPARE(readValue(file, u"O_ZA"_qs), u"2"_qs);
        }
    }

    void emptyDatabaseBecomesTheStore()
    {
        QFile empty(dbPath());
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        StoreFile file(dbPath());
        QVERIFY(file.isWritable());
        QVERIFY(file.damagedCopy().isEmpty());
        writeValue(file, u"O_ZA"_qs, u"2"_qs);
        QCOMPARE(readValue(file, u"O_ZA"_qs), u"2"_qs);
    }

    // Another program holds the store for writing: the store is still read, and a change gives
    // up within about a second with its own message instead of freezing the window.
    void busyStoreIsReportedQuickly()
    {
        makeStore();
        OtherProgram other(dbPath());
        QCOMPARE(other.run("BEGIN IMMEDIATE; DELETE FROM vals;"), SQLITE_OK);

        StoreFile file(dbPath());
        QVERIFY(file.isWritable());
        QCOMPARE(readValue(file, u"Path"_qs), u"/home/łucja/tockwell"_qs);
        const auto changes = {
            std::function<void()>([&] { writeValue(file, u"O_ZA"_qs, u"2"_qs); }),
            std::function<void()>([&] { rememberEntry(file, keys::O_MRU, u"7:0:0"_qs); }),
        };
        for (const auto &change : changes) {
            QElapsedTimer waited;
            waited.start();
            const QString refused = refusalOf(change);
            QVERIFY2(waited.elapsed() < 5000, qPrintable(QString::number(waited.elapsed())));
            QVERIFY2(refused.contains(u"zajęty przez inny program"_qs) &&
                         refused.contains(dbPath()),
                     qPrintable(refused));
        }
        // Told once does not mean a busy store drops changes: it is only busy.
        file.acceptReadOnly();
        QVERIFY(!refusalOf([&] { writeValue(file, u"O_ZA"_qs, u"2"_qs); }).isEmpty());

        QCOMPARE(other.run("ROLLBACK"), SQLITE_OK);
        writeValue(file, u"O_ZA"_qs, u"2"_qs);
        QCOMPARE(readValue(file, u"O_ZA"_qs), u"2"_qs);
    }
};

QTEST_GUILESS_MAIN(TestStoreDisk)
#include "tst_storedisk.moc"
