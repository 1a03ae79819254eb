#include "Store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sqlite3.h>

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

bool isDamage(int rc)
{
    const int primary = rc & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT;
}

void bindText(sqlite3_stmt *stmt, int index, const QString &text)
{
    sqlite3_bind_text16(stmt, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    const void *data = sqlite3_column_text16(stmt, column);
    const int bytes = sqlite3_column_bytes16(stmt, column);
    return data ? QString(static_cast<const QChar *>(data), bytes / 2) : QString();
}

/// Resets a cached statement when the scope that uses it ends.
class Use final
{
public:
    explicit Use(sqlite3_stmt *stmt) : m_stmt(stmt) {}
    ~Use()
    {
        if (m_stmt) {
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }
    }
    Use(const Use &) = delete;
    Use &operator=(const Use &) = delete;
    explicit operator bool() const { return m_stmt != nullptr; }
    sqlite3_stmt *operator*() const { return m_stmt; }

private:
    sqlite3_stmt *m_stmt;
};

} // namespace

StoreError::StoreError(const QString &valueName)
    : Error(QStringLiteral("Failed to set data for '%1'").arg(valueName))
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

StoreFile::StoreFile(QString path) : m_path(std::move(path))
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    OpenResult result = openDatabase();
    if (result == OpenResult::Damaged) {
        closeDatabase();
        keepDamagedFile();
        result = openDatabase();
    }
    if (result != OpenResult::Ok)
        closeDatabase();
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
    if (m_damagedCopy.isEmpty())
        return {};
    return u"Plik ustawień był uszkodzony i nie dało się go odczytać.\r"
           u"Został zachowany pod nazwą:\r%1\r"
           u"Program zaczyna z nowymi ustawieniami."_qs.arg(
               QDir::toNativeSeparators(m_damagedCopy));
}

StoreFile::OpenResult StoreFile::openDatabase()
{
    const QByteArray file = QFile::encodeName(m_path);
    int rc = sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc != SQLITE_OK)
        return isDamage(rc) ? OpenResult::Damaged : OpenResult::Failed;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 10000);

    // Changing the journal mode needs a moment alone with the file; another copy of the program
    // may be starting at the same time.
    for (int attempt = 0; attempt < 50; ++attempt) {
        rc = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if ((rc & 0xff) != SQLITE_BUSY && (rc & 0xff) != SQLITE_LOCKED)
            break;
        sqlite3_sleep(100);
    }
    if (rc != SQLITE_OK)
        return isDamage(rc) ? OpenResult::Damaged : OpenResult::Failed;
    // A write is on disk when its call returns.
    exec("PRAGMA synchronous=FULL");
    exec("PRAGMA foreign_keys=ON");

    rc = createSchema();
    if (rc != SQLITE_OK)
        return isDamage(rc) ? OpenResult::Damaged : OpenResult::Failed;

    // A database of another shape is not ours to use.
    for (const char *probe : {"SELECT id, parent, name, folded FROM keys LIMIT 0",
                              "SELECT id, key, name, folded, type, data FROM vals LIMIT 0"}) {
        if (!statement(probe))
            return OpenResult::Damaged;
    }
    Use check(statement("PRAGMA quick_check(1)"));
    if (!check)
        return OpenResult::Damaged;
    rc = sqlite3_step(*check);
    if (isDamage(rc) || (rc == SQLITE_ROW && columnText(*check, 0) != u"ok"_qs))
        return OpenResult::Damaged;
    return OpenResult::Ok;
}

int StoreFile::createSchema()
{
    // A store made before has its schema; looking costs no write.
    int version = 0;
    {
        Use q(statement("PRAGMA user_version"));
        if (!q)
            return sqlite3_errcode(m_db);
        const int rc = sqlite3_step(*q);
        if (rc != SQLITE_ROW)
            return rc;
        version = sqlite3_column_int(*q, 0);
    }
    if (version >= 1)
        return SQLITE_OK;
    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db, SchemaSql, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return rc;
}

void StoreFile::closeDatabase()
{
    for (auto &[sql, stmt] : m_statements)
        sqlite3_finalize(stmt);
    m_statements.clear();
    if (m_db)
        sqlite3_close_v2(m_db);
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
    // The journal belongs to the damaged file and goes with it; the index file is rebuilt.
    QFile::rename(m_path + u"-wal"_qs, aside + u"-wal"_qs);
    QFile::remove(m_path + u"-shm"_qs);
    m_damagedCopy = aside;
}

sqlite3_stmt *StoreFile::statement(const char *sql)
{
    if (!m_db)
        return nullptr;
    const auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return found->second;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        return nullptr;
    m_statements.emplace(sql, stmt);
    return stmt;
}

bool StoreFile::exec(const char *sql)
{
    return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// ---------------------------------------------------------------------------------------------
// StoreTransaction

StoreTransaction::StoreTransaction(StoreFile &file) : m_file(file)
{
    if (m_file.m_transactionDepth == 0) {
        if (!m_file.exec("BEGIN IMMEDIATE"))
            throw StoreError::withText(u"The settings store cannot be written"_qs);
        m_file.m_transactionFailed = false;
    }
    ++m_file.m_transactionDepth;
}

StoreTransaction::~StoreTransaction()
{
    if (m_done)
        return;
    m_file.m_transactionFailed = true;
    if (--m_file.m_transactionDepth == 0)
        m_file.exec("ROLLBACK");
}

void StoreTransaction::commit()
{
    m_done = true;
    if (--m_file.m_transactionDepth > 0)
        return;
    if (m_file.m_transactionFailed || !m_file.exec("COMMIT")) {
        m_file.exec("ROLLBACK");
        throw StoreError::withText(u"The changes to the settings store could not be written"_qs);
    }
}

// ---------------------------------------------------------------------------------------------
// Store: keys

qint64 Store::childKey(qint64 parent, const QString &name) const
{
    Use q(m_file.statement("SELECT id FROM keys WHERE parent = ?1 AND folded = ?2"));
    if (!q)
        return 0;
    sqlite3_bind_int64(*q, 1, parent);
    bindText(*q, 2, name.toCaseFolded());
    return sqlite3_step(*q) == SQLITE_ROW ? sqlite3_column_int64(*q, 0) : 0;
}

qint64 Store::createChildKey(qint64 parent, const QString &name)
{
    if (const qint64 id = childKey(parent, name))
        return id;
    {
        Use q(m_file.statement(
            "INSERT OR IGNORE INTO keys (parent, name, folded) VALUES (?1, ?2, ?3)"));
        if (!q)
            return 0;
        sqlite3_bind_int64(*q, 1, parent);
        bindText(*q, 2, name);
        bindText(*q, 3, name.toCaseFolded());
        if (sqlite3_step(*q) != SQLITE_DONE)
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
                       u"Failed to delete key '%1'"_qs.arg(name), name);
}

void Store::recreateSubkey(const QString &name)
{
    StoreTransaction transaction(m_file);
    deleteSubkey(name);
    if (!createChildKey(m_key, name))
        throw StoreError::withText(u"Failed to create key '%1'"_qs.arg(name));
    transaction.commit();
}

// ---------------------------------------------------------------------------------------------
// Store: values

int Store::valueType(const QString &name) const
{
    Use q(m_file.statement("SELECT type FROM vals WHERE key = ?1 AND folded = ?2"));
    if (!q || !m_key)
        return regtype::None;
    sqlite3_bind_int64(*q, 1, m_key);
    bindText(*q, 2, name.toCaseFolded());
    return sqlite3_step(*q) == SQLITE_ROW ? sqlite3_column_int(*q, 0) : regtype::None;
}

std::optional<RawValue> Store::readRaw(const QString &name) const
{
    Use q(m_file.statement("SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2"));
    if (!q || !m_key)
        return std::nullopt;
    sqlite3_bind_int64(*q, 1, m_key);
    bindText(*q, 2, name.toCaseFolded());
    if (sqlite3_step(*q) != SQLITE_ROW)
        return std::nullopt;
    RawValue value;
    value.type = sqlite3_column_int(*q, 0);
    switch (value.type) {
    case regtype::Sz:
    case regtype::ExpandSz:
        value.text = columnText(*q, 1);
        break;
    case regtype::Dword:
        value.number = quint32(sqlite3_column_int64(*q, 1));
        break;
    default: {
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(*q, 1));
        value.bytes = QByteArray(bytes, sqlite3_column_bytes(*q, 1));
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
    // Updating in place keeps the row, so the value keeps its place and its first spelling.
    Use q(m_file.statement(
        "INSERT INTO vals (key, name, folded, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
        "ON CONFLICT (key, folded) DO UPDATE SET type = excluded.type, data = excluded.data "
        "WHERE type IS NOT excluded.type OR data IS NOT excluded.data"));
    if (!q || !m_key)
        throw StoreError(name);
    sqlite3_bind_int64(*q, 1, m_key);
    bindText(*q, 2, name);
    bindText(*q, 3, name.toCaseFolded());
    sqlite3_bind_int(*q, 4, value.type);
    switch (value.type) {
    case regtype::Sz:
    case regtype::ExpandSz:
        bindText(*q, 5, value.text);
        break;
    case regtype::Dword:
        sqlite3_bind_int64(*q, 5, value.number);
        break;
    default:
        sqlite3_bind_blob(*q, 5, value.bytes.constData(), int(value.bytes.size()),
                          SQLITE_TRANSIENT);
        break;
    }
    if (sqlite3_step(*q) != SQLITE_DONE) {
        m_file.m_transactionFailed = true;
        throw StoreError(name);
    }
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
    Use q(m_file.statement(sql));
    if (!q || !m_key)
        return names;
    sqlite3_bind_int64(*q, 1, m_key);
    while (sqlite3_step(*q) == SQLITE_ROW)
        names << columnText(*q, 0);
    return names;
}

bool Store::deleteValue(const QString &name)
{
    return deleteNamed("DELETE FROM vals WHERE key = ?1 AND folded = ?2",
                       u"Failed to delete value '%1'"_qs.arg(name), name);
}

bool Store::deleteNamed(const char *sql, const QString &failure, const QString &name)
{
    Use q(m_file.statement(sql));
    if (!q || !m_key)
        throw StoreError::withText(failure);
    sqlite3_bind_int64(*q, 1, m_key);
    bindText(*q, 2, name.toCaseFolded());
    if (sqlite3_step(*q) != SQLITE_DONE)
        throw StoreError::withText(failure);
    return sqlite3_changes(m_file.m_db) > 0;
}

} // namespace tockwell
