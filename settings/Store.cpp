#include "Store.h"

#include "SqliteLibrary.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <initializer_list>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tockwell {

namespace {

// Keys form a tree under the root row (id 1, HKEY_CURRENT_USER). Names are kept as first
// written; `folded` holds QString::toCaseFolded() of the name, which is what makes names unique
// without regard to case (SQLite's NOCASE folds ASCII only). Values keep their row id for life,
// so ordering by id is the order of first creation.
constexpr const char *SchemaSql = R"(
CREATE TABLE IF NOT EXISTS keys (
    id     INTEGER PRIMARY KEY,
    parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,
    name   TEXT NOT NULL,
    folded TEXT NOT NULL,
    UNIQUE (parent, folded)
);
CREATE TABLE IF NOT EXISTS vals (
    id     INTEGER PRIMARY KEY,
    key    INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
    name   TEXT NOT NULL,
    folded TEXT NOT NULL,
    type   INTEGER NOT NULL,
    data,
    UNIQUE (key, folded)
);
INSERT OR IGNORE INTO keys (id, parent, name, folded) VALUES (1, NULL, '', '');
PRAGMA user_version = 1;
)";

constexpr qint64 RootKey = 1;

/// The failure code of a store whose SQLite library could not be opened.
constexpr int LibraryMissing = -1;

bool isDamage(int rc)
{
    const int primary = rc & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT;
}

bool isBusy(int rc)
{
    const int primary = rc & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

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

/// The cause of a failure, in words for the user; `sqlite`, when loaded, names SQLite's own
/// errors.
QString causeText(int code, int systemError, const SqliteLibrary *sqlite)
{
    const int primary = code & 0xff;
    if (code == LibraryMissing)
        return u"nie można wczytać biblioteki SQLite (%1)"_qs.arg(SqliteLibrary::defaultFileName());
    if (code == SQLITE_OK)
        return u"zapis został przerwany"_qs;
    if (isBusy(code))
        return u"plik jest zajęty przez inny program; spróbuj ponownie za chwilę"_qs;
    if (primary == SQLITE_FULL)
        return u"brak miejsca na dysku"_qs;
    if (primary == SQLITE_READONLY)
        return systemError == EROFS ? u"system plików jest tylko do odczytu"_qs
                                    : u"brak uprawnień do zapisu"_qs;
    switch (systemError) {
    case ENOSPC:
        return u"brak miejsca na dysku"_qs;
    case EDQUOT:
        return u"wyczerpany przydział miejsca na dysku"_qs;
    case EROFS:
        return u"system plików jest tylko do odczytu"_qs;
    case EACCES:
    case EPERM:
        return u"brak uprawnień do zapisu"_qs;
    case ENOTDIR:
    case ENOENT:
        return u"nie można utworzyć folderu na plik ustawień"_qs;
    case EIO:
        return u"błąd odczytu lub zapisu dysku"_qs;
    default:
        break;
    }
    if (primary == SQLITE_CANTOPEN)
        return u"nie można otworzyć ani utworzyć pliku"_qs;
    if (isDamage(code))
        return u"plik jest uszkodzony albo nie jest plikiem ustawień"_qs;
    if (!sqlite)
        return u"błąd bazy danych nr %1"_qs.arg(code);
    return u"błąd bazy danych nr %1 (%2)"_qs.arg(code).arg(QString::fromUtf8(sqlite->errstr(code)));
}

/// The numbers in the first row that `sql` selects, or SQLite's error code.
int selectNumbers(const SqliteLibrary &sqlite, sqlite3 *db, const char *sql,
                  std::initializer_list<int *> numbers)
{
    sqlite3_stmt *stmt = nullptr;
    int rc = sqlite.prepare_v2(db, sql, -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite.step(stmt);
        if (rc == SQLITE_ROW) {
            int column = 0;
            for (int *number : numbers)
                *number = sqlite.column_int(stmt, column++);
            rc = SQLITE_OK;
        }
    }
    sqlite.finalize(stmt);
    return rc;
}

int selectNumber(const SqliteLibrary &sqlite, sqlite3 *db, const char *sql, int &number)
{
    return selectNumbers(sqlite, db, sql, {&number});
}

/// SQLITE_OK for a store made by this program or a database without any table; SQLITE_NOTADB
/// for a database of another program; else the error that stopped the reading.
int checkShape(const SqliteLibrary &sqlite, sqlite3 *db)
{
    // One statement, so one snapshot: another copy may be creating the schema just now.
    int version = 0;
    int objects = 0;
    const int rc = selectNumbers(sqlite, db,
                                 "SELECT (SELECT user_version FROM pragma_user_version), "
                                 "(SELECT count(*) FROM sqlite_schema)",
                                 {&version, &objects});
    if (rc != SQLITE_OK)
        return rc;
    return version >= 1 || objects == 0 ? SQLITE_OK : SQLITE_NOTADB;
}

bool isEmptyDatabase(const SqliteLibrary &sqlite, sqlite3 *db)
{
    int objects = -1;
    return selectNumber(sqlite, db, "SELECT count(*) FROM sqlite_schema", objects) == SQLITE_OK &&
           objects == 0;
}

int createSchema(const SqliteLibrary &sqlite, sqlite3 *db)
{
    // A store made before has its schema; looking costs no write.
    int version = 0;
    int rc = selectNumber(sqlite, db, "PRAGMA user_version", version);
    if (rc != SQLITE_OK || version >= 1)
        return rc;
    rc = sqlite.exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite.exec(db, SchemaSql, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite.exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        sqlite.exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return rc;
}

/// Whether the tables are those of a settings store and the file reads sound.
bool hasOurShape(const SqliteLibrary &sqlite, sqlite3 *db)
{
    int version = 0;
    if (selectNumber(sqlite, db, "PRAGMA user_version", version) != SQLITE_OK || version < 1)
        return false;
    for (const char *probe : {"SELECT id, parent, name, folded FROM keys LIMIT 0",
                              "SELECT id, key, name, folded, type, data FROM vals LIMIT 0"}) {
        sqlite3_stmt *stmt = nullptr;
        const int rc = sqlite.prepare_v2(db, probe, -1, &stmt, nullptr);
        sqlite.finalize(stmt);
        if (rc != SQLITE_OK)
            return false;
    }
    sqlite3_stmt *check = nullptr;
    bool sound = sqlite.prepare_v2(db, "PRAGMA quick_check(1)", -1, &check, nullptr) == SQLITE_OK;
    if (sound) {
        const int rc = sqlite.step(check);
        const auto *text = reinterpret_cast<const char *>(
            rc == SQLITE_ROW ? sqlite.column_text(check, 0) : nullptr);
        sound = !isDamage(rc) && (rc != SQLITE_ROW || (text && qstrcmp(text, "ok") == 0));
    }
    sqlite.finalize(check);
    return sound;
}

void bindText(const SqliteLibrary &sqlite, sqlite3_stmt *stmt, int index, const QString &text)
{
    sqlite.bind_text16(stmt, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

QString columnText(const SqliteLibrary &sqlite, sqlite3_stmt *stmt, int column)
{
    const void *data = sqlite.column_text16(stmt, column);
    const int bytes = sqlite.column_bytes16(stmt, column);
    return data ? QString(static_cast<const QChar *>(data), bytes / 2) : QString();
}

} // namespace

StoreError::StoreError(const QString &valueName)
    : Error(u"Nie można zapisać wartości '%1'."_qs.arg(valueName))
{}

StoreError::StoreError(Text, const QString &text) : Error(text) {}

StoreError StoreError::withText(const QString &text)
{
    return StoreError(Text{}, text);
}

QStringList keyPathParts(const QString &path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// ---------------------------------------------------------------------------------------------
// StoreFile

// A Store's statement from the connection's cache, reset when the scope that uses it ends.
class StoreFile::Use final
{
public:
    Use(StoreFile &file, const char *sql) : m_file(file), m_stmt(file.statement(sql)) {}
    ~Use()
    {
        if (m_stmt) {
            m_file.sqlite().reset(m_stmt);
            m_file.sqlite().clear_bindings(m_stmt);
        }
    }
    Use(const Use &) = delete;
    Use &operator=(const Use &) = delete;
    explicit operator bool() const { return m_stmt != nullptr; }
    sqlite3_stmt *operator*() const { return m_stmt; }

private:
    const StoreFile &m_file;
    sqlite3_stmt *m_stmt;
};

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
        Failure failure;
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

void StoreFile::closeConnection(sqlite3 *db) const
{
    if (db && m_sqlite)
        m_sqlite->close_v2(db);
}

QString StoreFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/tockwell/settings.db"_qs;
}

QString StoreFile::damageNotice() const
{
    if (m_damagedCopy.isEmpty())
        return {};
    return u"Plik ustawień był uszkodzony i nie dało się go odczytać.\r"
           u"Został zachowany pod nazwą:\r%1\r"
           u"Program zaczyna z nowymi ustawieniami."_qs.arg(
               QDir::toNativeSeparators(m_damagedCopy));
}

QString StoreFile::notice() const
{
    QString access;
    const QString file = QDir::toNativeSeparators(m_path);
    const QString cause = causeText(m_openFailure.code, m_openFailure.systemError, m_sqlite.get());
    if (m_access == Access::ReadOnly)
        access = u"Nie można zapisywać w pliku ustawień:\r%1\rPrzyczyna: %2.\r"
                 u"Ustawienia zostały odczytane, ale zmiany nie zostaną zapamiętane, "
                 u"dopóki przyczyna nie zniknie."_qs.arg(file, cause);
    else if (m_access == Access::Closed)
        access = u"Nie można otworzyć pliku ustawień:\r%1\rPrzyczyna: %2.\r"
                 u"Program działa z ustawieniami domyślnymi, a zmiany nie zostaną zapamiętane, "
                 u"dopóki przyczyna nie zniknie."_qs.arg(file, cause);
    QStringList parts{damageNotice(), access};
    parts.removeAll(QString());
    return parts.join(u"\r\r"_qs);
}

void StoreFile::configure(sqlite3 *db)
{
    sqlite().extended_result_codes(db, 1);
    sqlite().busy_handler(db, &waitBriefly, &m_busySince);
}

StoreFile::OpenResult StoreFile::openWritable(sqlite3 *&db, Failure &failure)
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
    rc = checkShape(sqlite(), db);
    if (rc != SQLITE_OK)
        return failed(rc);

    // Changing the journal mode needs a moment alone with the file; another copy of the program
    // may be starting at the same time.
    QElapsedTimer waited;
    waited.start();
    do {
        rc = sqlite().exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if (!isBusy(rc))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (waited.elapsed() < StoreFile::BusyWaitMs);
    if (rc != SQLITE_OK)
        return failed(rc);
    // A write is on disk when its call returns.
    sqlite().exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    sqlite().exec(db, "PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr);

    rc = createSchema(sqlite(), db);
    if (rc != SQLITE_OK)
        return failed(rc);
    return hasOurShape(sqlite(), db) ? OpenResult::Ok : OpenResult::Damaged;
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
            if (isEmptyDatabase(sqlite(), db) || hasOurShape(sqlite(), db)) {
                m_db = db;
                return true;
            }
        }
        closeConnection(db);
    }
    return false;
}

bool StoreFile::repairSideFiles(Failure &failure) const
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
    Failure failure;
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

void StoreFile::refuse(const QString &what, Failure failure) const
{
    throw StoreError::withText(u"%1\rPlik ustawień: %2\rPrzyczyna: %3."_qs.arg(
        what, QDir::toNativeSeparators(m_path),
        causeText(failure.code, failure.systemError, m_sqlite.get())));
}

void StoreFile::refuseInTransaction(const QString &what, int code)
{
    const Failure failure = failureOf(code);
    if (m_transactionDepth > 0) {
        m_transactionFailed = true;
        m_transactionFailure = failure;
    }
    refuse(what, failure);
}

StoreFile::Failure StoreFile::failureOf(int code) const
{
    return {code, m_db ? sqlite().system_errno(m_db) : 0};
}

int StoreFile::lastError() const
{
    return m_db ? sqlite().errcode(m_db) : SQLITE_CANTOPEN;
}

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

// ---------------------------------------------------------------------------------------------
// StoreTransaction

StoreTransaction::StoreTransaction(StoreFile &file) : m_file(file)
{
    if (m_file.m_transactionDepth == 0) {
        const QString what = u"Nie można zapisać zmian w ustawieniach."_qs;
        m_file.m_transactionFailed = false;
        m_file.m_transactionDropped = false;
        m_file.m_transactionFailure = {};
        if (!m_file.readyToChange(what)) {
            m_file.m_transactionDropped = true;
        } else if (const int rc = m_file.exec("BEGIN IMMEDIATE"); rc != SQLITE_OK) {
            m_file.refuse(what, m_file.failureOf(rc));
        }
    }
    ++m_file.m_transactionDepth;
}

StoreTransaction::~StoreTransaction()
{
    if (m_done)
        return;
    m_file.m_transactionFailed = true;
    if (--m_file.m_transactionDepth == 0 && !m_file.m_transactionDropped)
        m_file.exec("ROLLBACK");
}

void StoreTransaction::commit()
{
    m_done = true;
    if (--m_file.m_transactionDepth > 0)
        return;
    if (m_file.m_transactionDropped) {
        m_file.m_transactionDropped = false;
        return;
    }
    StoreFile::Failure failure = m_file.m_transactionFailure;
    if (!m_file.m_transactionFailed) {
        const int rc = m_file.exec("COMMIT");
        if (rc == SQLITE_OK)
            return;
        failure = m_file.failureOf(rc);
    }
    m_file.exec("ROLLBACK");
    m_file.refuse(u"Nie można zapisać zmian w ustawieniach."_qs, failure);
}

// ---------------------------------------------------------------------------------------------
// Store: keys

qint64 Store::childKey(qint64 parent, const QString &name) const
{
    StoreFile::Use q(m_file, "SELECT id FROM keys WHERE parent = ?1 AND folded = ?2");
    if (!q)
        return 0;
    sqlite().bind_int64(*q, 1, parent);
    bindText(sqlite(), *q, 2, name.toCaseFolded());
    return sqlite().step(*q) == SQLITE_ROW ? sqlite().column_int64(*q, 0) : 0;
}

qint64 Store::createChildKey(qint64 parent, const QString &name)
{
    if (const qint64 id = childKey(parent, name))
        return id;
    // Opening a key also serves reading, which reports nothing: a store that cannot be written
    // has no key to give.
    if (!m_file.becomeWritable())
        return 0;
    {
        StoreFile::Use q(m_file,
                         "INSERT OR IGNORE INTO keys (parent, name, folded) VALUES (?1, ?2, ?3)");
        if (!q)
            return 0;
        sqlite().bind_int64(*q, 1, parent);
        bindText(sqlite(), *q, 2, name);
        bindText(sqlite(), *q, 3, name.toCaseFolded());
        if (sqlite().step(*q) != SQLITE_DONE)
            return 0;
    }
    // Another copy of the program may have created it in between: look it up either way.
    return childKey(parent, name);
}

bool Store::openKey(const QString &path)
{
    qint64 key = RootKey;
    for (const QString &part : keyPathParts(path)) {
        key = createChildKey(key, part);
        if (!key)
            break;
    }
    m_key = key;
    return m_key != 0;
}

bool Store::keyExists(const QString &path) const
{
    if (!m_file.isOpen())
        return false;
    qint64 key = RootKey;
    for (const QString &part : keyPathParts(path)) {
        key = childKey(key, part);
        if (!key)
            return false;
    }
    return true;
}

QStringList Store::subkeyNames() const
{
    return namesUnderKey("SELECT name FROM keys WHERE parent = ?1 ORDER BY id");
}

bool Store::deleteSubkey(const QString &name)
{
    return deleteNamed("DELETE FROM keys WHERE parent = ?1 AND folded = ?2",
                       u"Nie można usunąć klucza '%1'."_qs.arg(name), name);
}

void Store::recreateSubkey(const QString &name)
{
    const QString what = u"Nie można utworzyć klucza '%1'."_qs.arg(name);
    StoreTransaction transaction(m_file);
    if (!m_file.readyToChange(what))
        return;
    deleteSubkey(name);
    if (!createChildKey(m_key, name))
        m_file.refuse(what, m_file.failureOf(m_file.lastError()));
    transaction.commit();
}

// ---------------------------------------------------------------------------------------------
// Store: values

int Store::valueType(const QString &name) const
{
    StoreFile::Use q(m_file, "SELECT type FROM vals WHERE key = ?1 AND folded = ?2");
    if (!q || !m_key)
        return regtype::None;
    sqlite().bind_int64(*q, 1, m_key);
    bindText(sqlite(), *q, 2, name.toCaseFolded());
    return sqlite().step(*q) == SQLITE_ROW ? sqlite().column_int(*q, 0) : regtype::None;
}

std::optional<RawValue> Store::readRaw(const QString &name) const
{
    StoreFile::Use q(m_file, "SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2");
    if (!q || !m_key)
        return std::nullopt;
    sqlite().bind_int64(*q, 1, m_key);
    bindText(sqlite(), *q, 2, name.toCaseFolded());
    if (sqlite().step(*q) != SQLITE_ROW)
        return std::nullopt;
    RawValue value;
    value.type = sqlite().column_int(*q, 0);
    switch (value.type) {
    case regtype::Sz:
    case regtype::ExpandSz:
        value.text = columnText(sqlite(), *q, 1);
        break;
    case regtype::Dword:
        value.number = quint32(sqlite().column_int64(*q, 1));
        break;
    default: {
        const auto *bytes = static_cast<const char *>(sqlite().column_blob(*q, 1));
        value.bytes = QByteArray(bytes, sqlite().column_bytes(*q, 1));
        break;
    }
    }
    return value;
}

std::optional<QString> Store::readString(const QString &name) const
{
    const auto value = readRaw(name);
    if (!value || value->type != regtype::Sz)
        return std::nullopt;
    return value->text;
}

std::optional<QString> Store::readExpandString(const QString &name) const
{
    const auto value = readRaw(name);
    if (!value || value->type != regtype::ExpandSz)
        return std::nullopt;
    return value->text;
}

std::optional<int> Store::readInteger(const QString &name) const
{
    const auto value = readRaw(name);
    if (!value || value->type != regtype::Dword)
        return std::nullopt;
    return qint32(value->number);
}

std::optional<bool> Store::readBool(const QString &name) const
{
    const auto value = readInteger(name);
    if (!value)
        return std::nullopt;
    return *value != 0;
}

void Store::upsert(const QString &name, const RawValue &value)
{
    const QString what = u"Nie można zapisać wartości '%1'."_qs.arg(name);
    if (!m_file.readyToChange(what))
        return;
    // Updating in place keeps the row, so the value keeps its place and its first spelling.
    StoreFile::Use q(
        m_file,
        "INSERT INTO vals (key, name, folded, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
        "ON CONFLICT (key, folded) DO UPDATE SET type = excluded.type, data = excluded.data "
        "WHERE type IS NOT excluded.type OR data IS NOT excluded.data");
    if (!q || !m_key)
        m_file.refuse(what, m_file.failureOf(m_file.lastError()));
    sqlite().bind_int64(*q, 1, m_key);
    bindText(sqlite(), *q, 2, name);
    bindText(sqlite(), *q, 3, name.toCaseFolded());
    sqlite().bind_int(*q, 4, value.type);
    switch (value.type) {
    case regtype::Sz:
    case regtype::ExpandSz:
        bindText(sqlite(), *q, 5, value.text);
        break;
    case regtype::Dword:
        sqlite().bind_int64(*q, 5, value.number);
        break;
    default:
        sqlite().bind_blob(*q, 5, value.bytes.constData(), int(value.bytes.size()),
                           SQLITE_TRANSIENT);
        break;
    }
    if (const int rc = sqlite().step(*q); rc != SQLITE_DONE)
        m_file.refuseInTransaction(what, rc);
}

void Store::writeString(const QString &name, const QString &text)
{
    upsert(name, RawValue{regtype::Sz, text, 0, {}});
}

void Store::writeExpandString(const QString &name, const QString &text)
{
    upsert(name, RawValue{regtype::ExpandSz, text, 0, {}});
}

void Store::writeInteger(const QString &name, int number)
{
    upsert(name, RawValue{regtype::Dword, {}, quint32(number), {}});
}

void Store::writeBool(const QString &name, bool flag)
{
    writeInteger(name, flag ? 1 : 0);
}

void Store::writeRaw(const QString &name, const RawValue &value)
{
    upsert(name, value);
}

QStringList Store::valueNames() const
{
    return namesUnderKey("SELECT name FROM vals WHERE key = ?1 ORDER BY id");
}

QStringList Store::namesUnderKey(const char *sql) const
{
    QStringList names;
    StoreFile::Use q(m_file, sql);
    if (!q || !m_key)
        return names;
    sqlite().bind_int64(*q, 1, m_key);
    while (sqlite().step(*q) == SQLITE_ROW)
        names << columnText(sqlite(), *q, 0);
    return names;
}

bool Store::deleteValue(const QString &name)
{
    return deleteNamed("DELETE FROM vals WHERE key = ?1 AND folded = ?2",
                       u"Nie można usunąć wartości '%1'."_qs.arg(name), name);
}

bool Store::deleteNamed(const char *sql, const QString &what, const QString &name)
{
    if (!m_file.readyToChange(what))
        return false;
    StoreFile::Use q(m_file, sql);
    if (!q || !m_key)
        m_file.refuse(what, m_file.failureOf(m_file.lastError()));
    sqlite().bind_int64(*q, 1, m_key);
    bindText(sqlite(), *q, 2, name.toCaseFolded());
    if (const int rc = sqlite().step(*q); rc != SQLITE_DONE)
        m_file.refuseInTransaction(what, rc);
    return sqlite().changes(m_file.m_db) > 0;
}

const SqliteLibrary &Store::sqlite() const
{
    return m_file.sqlite();
}

} // namespace tockwell
