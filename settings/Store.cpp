#include "Store.h"

#include "SqliteLibrary.h"
#include "StoreSchema.h"

namespace tockwell {

namespace {

/// The folded form of a name, as the `folded` columns hold it.
QString folded(QStringView name)
{
    return name.toString().toCaseFolded();
}

void bindText(const SqliteLibrary &sqlite, sqlite3_stmt *stmt, int index, QStringView text)
{
    // A null view points nowhere, but the empty name (the unnamed value) is an empty text, not
    // SQL's NULL.
    static constexpr char16_t empty[] = u"";
    sqlite.bind_text16(stmt, index, text.isNull() ? empty : text.utf16(), int(text.size() * 2),
                       SQLITE_TRANSIENT);
}

QString columnText(const SqliteLibrary &sqlite, sqlite3_stmt *stmt, int column)
{
    const void *data = sqlite.column_text16(stmt, column);
    const int bytes = sqlite.column_bytes16(stmt, column);
    return data ? QString(static_cast<const QChar *>(data), bytes / 2) : QString();
}

QList<QStringView> pathParts(QStringView path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

} // namespace

QStringList keyPathParts(QStringView path)
{
    QStringList parts;
    for (const QStringView part : pathParts(path))
        parts << part.toString();
    return parts;
}

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
    StoreFailure failure = m_file.m_transactionFailure;
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

qint64 Store::childKey(qint64 parent, QStringView name) const
{
    StoreFile::Use q(m_file, "SELECT id FROM keys WHERE parent = ?1 AND folded = ?2");
    if (!q)
        return 0;
    sqlite().bind_int64(*q, 1, parent);
    bindText(sqlite(), *q, 2, folded(name));
    return sqlite().step(*q) == SQLITE_ROW ? sqlite().column_int64(*q, 0) : 0;
}

qint64 Store::createChildKey(qint64 parent, QStringView name)
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
        bindText(sqlite(), *q, 3, folded(name));
        if (sqlite().step(*q) != SQLITE_DONE)
            return 0;
    }
    // Another copy of the program may have created it in between: look it up either way.
    return childKey(parent, name);
}

bool Store::openKey(QStringView path)
{
    qint64 key = schema::RootKey;
    for (const QStringView part : pathParts(path)) {
        key = createChildKey(key, part);
        if (!key)
            break;
    }
    m_key = key;
    return m_key != 0;
}

bool Store::keyExists(QStringView path) const
{
    if (!m_file.isOpen())
        return false;
    qint64 key = schema::RootKey;
    for (const QStringView part : pathParts(path)) {
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

bool Store::deleteSubkey(QStringView name)
{
    return deleteNamed("DELETE FROM keys WHERE parent = ?1 AND folded = ?2",
                       u"Nie można usunąć klucza '%1'."_qs.arg(name), name);
}

void Store::recreateSubkey(QStringView name)
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

int Store::valueType(QStringView name) const
{
    StoreFile::Use q(m_file, "SELECT type FROM vals WHERE key = ?1 AND folded = ?2");
    if (!q || !m_key)
        return regtype::None;
    sqlite().bind_int64(*q, 1, m_key);
    bindText(sqlite(), *q, 2, folded(name));
    return sqlite().step(*q) == SQLITE_ROW ? sqlite().column_int(*q, 0) : regtype::None;
}

std::optional<RawValue> Store::readRaw(QStringView name) const
{
    StoreFile::Use q(m_file, "SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2");
    if (!q || !m_key)
        return std::nullopt;
    sqlite().bind_int64(*q, 1, m_key);
    bindText(sqlite(), *q, 2, folded(name));
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

std::optional<QString> Store::readString(QStringView name) const
{
    const auto value = readRaw(name);
    if (!value || value->type != regtype::Sz)
        return std::nullopt;
    return value->text;
}

std::optional<QString> Store::readExpandString(QStringView name) const
{
    const auto value = readRaw(name);
    if (!value || value->type != regtype::ExpandSz)
        return std::nullopt;
    return value->text;
}

std::optional<int> Store::readInteger(QStringView name) const
{
    const auto value = readRaw(name);
    if (!value || value->type != regtype::Dword)
        return std::nullopt;
    return qint32(value->number);
}

std::optional<bool> Store::readBool(QStringView name) const
{
    const auto value = readInteger(name);
    if (!value)
        return std::nullopt;
    return *value != 0;
}

void Store::upsert(QStringView name, const RawValue &value)
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
    bindText(sqlite(), *q, 3, folded(name));
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

void Store::writeString(QStringView name, const QString &text)
{
    upsert(name, RawValue{regtype::Sz, text, 0, {}});
}

void Store::writeExpandString(QStringView name, const QString &text)
{
    upsert(name, RawValue{regtype::ExpandSz, text, 0, {}});
}

void Store::writeInteger(QStringView name, int number)
{
    upsert(name, RawValue{regtype::Dword, {}, quint32(number), {}});
}

void Store::writeBool(QStringView name, bool flag)
{
    writeInteger(name, flag ? 1 : 0);
}

void Store::writeRaw(QStringView name, const RawValue &value)
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

bool Store::deleteValue(QStringView name)
{
    return deleteNamed("DELETE FROM vals WHERE key = ?1 AND folded = ?2",
                       u"Nie można usunąć wartości '%1'."_qs.arg(name), name);
}

bool Store::deleteNamed(const char *sql, const QString &what, QStringView name)
{
    if (!m_file.readyToChange(what))
        return false;
    StoreFile::Use q(m_file, sql);
    if (!q || !m_key)
        m_file.refuse(what, m_file.failureOf(m_file.lastError()));
    sqlite().bind_int64(*q, 1, m_key);
    bindText(sqlite(), *q, 2, folded(name));
    if (const int rc = sqlite().step(*q); rc != SQLITE_DONE)
        m_file.refuseInTransaction(what, rc);
    return m_file.changes() > 0;
}

const SqliteLibrary &Store::sqlite() const
{
    return m_file.sqlite();
}

} // namespace tockwell
