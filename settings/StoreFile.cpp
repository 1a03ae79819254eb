#include "StoreFile.h"

#include "SqliteLibrary.h"
#include "StoreSchema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tockwell {

namespace {

/// SQLite's busy handler: wait in short steps while another program holds the file, but not
/// longer than StoreFile::BusyWaitMs, so that the interface never stands still for long.
int waitBriefly(void *since, int count)
{
    qint64 &start = *static_cast<qint64 *>(since);
    const qint64 now = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
    if (count == 0)
        start = now;
    if (now - start >= StoreFile::BusyWaitMs)
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

/// Whether this process may write the file (as open() decides: with its effective ids);
/// errno says why not.
bool mayWrite(const QByteArray &file)
{
    return ::faccessat(AT_FDCWD, file.constData(), W_OK, AT_EACCESS) == 0;
}

/// Why the file at `path` may not be written (errno), for a file that SQLite opened read-only.
int writeAccessError(const QString &path)
{
    const QByteArray file = QFile::encodeName(path);
    return mayWrite(file) ? EACCES : errno;
}

} // namespace

StoreFile::StoreFile(QString path) : m_path(std::move(path))
{
    m_restTimer.setSingleShot(true);
    m_restTimer.setInterval(RestAfterMs);
    m_restTimer.callOnTimeout([this] { rest(); });
    sqlite3 *db = nullptr;
    OpenResult result = openWritable(db, m_openFailure);
    if (result == OpenResult::Damaged) {
        closeConnection(db);
        db = nullptr;
        keepDamagedFile();
        result = openWritable(db, m_openFailure);
    }
    if (result == OpenResult::Ok) {
        m_db = db;
        m_access = Access::Writable;
    } else {
        closeConnection(db);
        m_access = openReadOnly() ? Access::ReadOnly : Access::Closed;
    }
    restLater();
}

StoreFile::~StoreFile()
{
    closeDatabase();
}

QString StoreFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/tockwell/settings.db"_qs;
}

QString StoreFile::damageNotice() const
{
    return damagedFileNotice(m_damagedCopy);
}

QString StoreFile::notice() const
{
    QStringList parts{damageNotice()};
    if (m_access != Access::Writable)
        parts << unwritableNotice(m_access == Access::ReadOnly, m_path,
                                  causeText(m_openFailure, m_sqlite.get()));
    parts.removeAll(QString());
    return parts.join(u"\r\r"_qs);
}

// ---------------------------------------------------------------------------------------------
// Resting between uses

void StoreFile::rest()
{
    if (m_transactionDepth > 0) {
        restLater();
        return;
    }
    closeDatabase();
    m_sqlite.reset();
}

bool StoreFile::isResting() const
{
    return !m_sqlite;
}

void StoreFile::restLater()
{
    // Only where an event loop can run the timer: a tool that reads and ends keeps its file.
    if (QCoreApplication::instance())
        m_restTimer.start();
}

bool StoreFile::loadSqlite()
{
    if (m_sqlite)
        return true;
    auto sqlite = std::make_unique<const SqliteLibrary>();
    if (!sqlite->isLoaded())
        return false;
    // SQLite's page cache sets aside 20 pages (about 85 kB) for each open file at its first
    // read, whatever the file's size; a store of a normal size is a handful of pages. Told
    // before SQLite starts, it takes each page when it needs it. When SQLite has already
    // started in this process (another user of the library), this changes nothing.
    sqlite->config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    m_sqlite = std::move(sqlite);
    return true;
}

bool StoreFile::wake()
{
    restLater();
    if (m_db || m_access == Access::Closed)
        return m_db != nullptr;
    // Opened again as it was left. A file damaged meanwhile is not moved aside behind the
    // user's back: it is only not used, as when it goes bad while open.
    if (m_access == Access::Writable) {
        sqlite3 *db = nullptr;
        StoreFailure failure;
        if (openWritable(db, failure) == OpenResult::Ok) {
            m_db = db;
            return true;
        }
        closeConnection(db);
        if (failure.code != SQLITE_OK)
            m_openFailure = failure;
    }
    m_access = openReadOnly() ? Access::ReadOnly : Access::Closed;
    return m_db != nullptr;
}

// ---------------------------------------------------------------------------------------------
// Opening

void StoreFile::closeConnection(sqlite3 *db) const
{
    if (db && m_sqlite)
        m_sqlite->close_v2(db);
}

void StoreFile::configure(sqlite3 *db)
{
    sqlite().extended_result_codes(db, 1);
    sqlite().busy_handler(db, &waitBriefly, &m_busySince);
}

StoreFile::OpenResult StoreFile::openWritable(sqlite3 *&db, StoreFailure &failure)
{
    if (!loadSqlite()) {
        failure = {LibraryMissing, 0};
        return OpenResult::Failed;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!repairSideFiles(failure))
        return OpenResult::Failed;
    const QByteArray file = QFile::encodeName(m_path);
    int rc = sqlite().open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                              nullptr);
    const auto failed = [&](int code) {
        failure = {code, db ? sqlite().system_errno(db) : 0};
        return isDamage(code) ? OpenResult::Damaged : OpenResult::Failed;
    };
    if (rc != SQLITE_OK)
        return failed(rc);
    configure(db);
    // SQLite quietly opens a file that it may not write for reading only.
    if (sqlite().db_readonly(db, "main") == 1) {
        failure = {SQLITE_READONLY, writeAccessError(m_path)};
        return OpenResult::Failed;
    }
    // Before anything is changed: a database of another program is not ours to use.
    rc = schema::checkShape(sqlite(), db);
    if (rc == SQLITE_OK)
        rc = switchToWal(db);
    if (rc != SQLITE_OK)
        return failed(rc);
    // A write is on disk when its call returns.
    sqlite().exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    sqlite().exec(db, "PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr);

    rc = schema::create(sqlite(), db);
    if (rc != SQLITE_OK)
        return failed(rc);
    return schema::isIntact(sqlite(), db) ? OpenResult::Ok : OpenResult::Damaged;
}

int StoreFile::switchToWal(sqlite3 *db) const
{
    // Changing the journal mode needs a moment alone with the file; another copy of the program
    // may be starting at the same time.
    QElapsedTimer waited;
    waited.start();
    int rc = SQLITE_OK;
    do {
        rc = sqlite().exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if (!isBusy(rc))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (waited.elapsed() < StoreFile::BusyWaitMs);
    return rc;
}

bool StoreFile::openReadOnly()
{
    if (!loadSqlite()) {
        m_openFailure = {LibraryMissing, 0};
        return false;
    }
    // Reading a WAL database needs its index of the journal. A reader that may not write keeps
    // that index in its own memory when it finds an index file it cannot use (readonly_shm);
    // without an index file and with an empty journal, the database file alone holds every
    // change, and it is read as it lies (immutable): no index is made, nothing is written.
    const QString url = QString::fromLatin1(QUrl::fromLocalFile(m_path).toEncoded());
    QStringList tries;
    if (QFileInfo::exists(m_path + u"-shm"_qs))
        tries << url + u"?readonly_shm=1"_qs;
    if (QFileInfo(m_path + u"-wal"_qs).size() == 0)
        tries << url + u"?immutable=1"_qs;
    tries << url;
    for (const QString &uri : std::as_const(tries)) {
        sqlite3 *db = nullptr;
        const QByteArray name = uri.toUtf8();
        if (sqlite().open_v2(name.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                             nullptr) == SQLITE_OK) {
            configure(db);
            if (schema::isEmpty(sqlite(), db) || schema::isIntact(sqlite(), db)) {
                m_db = db;
                return true;
            }
        }
        closeConnection(db);
    }
    return false;
}

bool StoreFile::repairSideFiles(StoreFailure &failure) const
{
    // A copy that could only read the store leaves its journal and index behind with the
    // permissions of the read-only file; once the file may be written again, so may they.
    const QByteArray file = QFile::encodeName(m_path);
    struct stat own = {};
    if (::stat(file.constData(), &own) != 0 || !mayWrite(file))
        return true;
    for (const char *suffix : {"-wal", "-shm"}) {
        const QByteArray side = file + suffix;
        if (::access(side.constData(), F_OK) != 0 || mayWrite(side))
            continue;
        if (::chmod(side.constData(), own.st_mode & 0777) != 0) {
            failure = {SQLITE_READONLY, errno};
            return false;
        }
    }
    return true;
}

void StoreFile::closeDatabase()
{
    for (auto &[sql, stmt] : m_statements)
        sqlite().finalize(stmt);
    m_statements.clear();
    closeConnection(m_db);
    m_db = nullptr;
}

void StoreFile::keepDamagedFile()
{
    const QString stamp = QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_qs);
    QString aside = m_path + u".damaged-"_qs + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + u".damaged-"_qs + stamp + u"-"_qs + QString::number(n);
    if (!QFile::rename(m_path, aside))
        return; // another copy of the program got there first; its fresh file is used
    // The journals belong to the damaged file and go with it; the index file is rebuilt.
    QFile::rename(m_path + u"-wal"_qs, aside + u"-wal"_qs);
    QFile::rename(m_path + u"-journal"_qs, aside + u"-journal"_qs);
    QFile::remove(m_path + u"-shm"_qs);
    m_damagedCopy = aside;
}

// ---------------------------------------------------------------------------------------------
// Changing

bool StoreFile::becomeWritable()
{
    wake();
    if (m_access == Access::Writable)
        return true;
    if (m_transactionDepth > 0)
        return false;
    // The reader goes first: a connection of the same process would share its read-only index.
    closeDatabase();
    sqlite3 *db = nullptr;
    StoreFailure failure;
    if (openWritable(db, failure) == OpenResult::Ok) {
        m_db = db;
        m_access = Access::Writable;
        return true;
    }
    closeConnection(db);
    if (failure.code != SQLITE_OK)
        m_openFailure = failure;
    m_access = openReadOnly() ? Access::ReadOnly : Access::Closed;
    return false;
}

bool StoreFile::readyToChange(const QString &what)
{
    if (m_transactionDepth > 0 && m_transactionDropped)
        return false;
    if (becomeWritable())
        return true;
    if (m_dropRefusedChanges)
        return false;
    refuse(what, m_openFailure);
}

void StoreFile::refuse(const QString &what, StoreFailure failure) const
{
    throw refusal(what, m_path, causeText(failure, m_sqlite.get()));
}

void StoreFile::refuseInTransaction(const QString &what, int code)
{
    const StoreFailure failure = failureOf(code);
    if (m_transactionDepth > 0) {
        m_transactionFailed = true;
        m_transactionFailure = failure;
    }
    refuse(what, failure);
}

StoreFailure StoreFile::failureOf(int code) const
{
    return {code, m_db ? sqlite().system_errno(m_db) : 0};
}

int StoreFile::lastError() const
{
    return m_db ? sqlite().errcode(m_db) : SQLITE_CANTOPEN;
}

// ---------------------------------------------------------------------------------------------
// Statements

const SqliteLibrary &StoreFile::sqlite() const
{
    return *m_sqlite;
}

sqlite3_stmt *StoreFile::statement(const char *sql)
{
    if (!wake())
        return nullptr;
    const auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return found->second;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite().prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        return nullptr;
    m_statements.emplace(sql, stmt);
    return stmt;
}

int StoreFile::exec(const char *sql)
{
    return wake() ? sqlite().exec(m_db, sql, nullptr, nullptr, nullptr) : SQLITE_CANTOPEN;
}

int StoreFile::changes() const
{
    return sqlite().changes(m_db);
}

} // namespace tockwell
