#pragma once

#include "core/Error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace tockwell {

class SqliteLibrary;

/// The type codes of stored values. They are the Windows registry's, so that exported files
/// read the same on both systems.
namespace regtype {
inline constexpr int None = 0;     ///< the value does not exist
inline constexpr int Sz = 1;       ///< REG_SZ: a text
inline constexpr int ExpandSz = 2; ///< REG_EXPAND_SZ: a text with %VARIABLES%
inline constexpr int Binary = 3;   ///< REG_BINARY: bytes
inline constexpr int Dword = 4;    ///< REG_DWORD: a 32-bit number
inline constexpr int MultiSz = 7;  ///< REG_MULTI_SZ: kept as UTF-16LE bytes
} // namespace regtype

/// A change that the store refused. Its text is Polish and says what could not be done, and,
/// for the settings file, names the file and the cause.
class StoreError final : public Error
{
public:
    /// A value that could not be written, without further detail: "Nie można zapisać wartości".
    explicit StoreError(const QString &valueName);
    /// Any other refused change of the store, with its own text.
    static StoreError withText(const QString &text);

private:
    struct Text
    {};
    StoreError(Text, const QString &text);
};

/// One value as stored, whatever its type: `text` for REG_SZ and REG_EXPAND_SZ, `number` for
/// REG_DWORD, `bytes` for every other type.
struct RawValue
{
    int type = regtype::None;
    QString text;
    quint32 number = 0;
    QByteArray bytes;

    friend bool operator==(const RawValue &, const RawValue &) = default;
};

/// The database file of one user's settings, with its one connection. The program opens it once
/// at start-up and hands it to everything that reads or writes settings; each of those makes a
/// short-lived Store on it.
///
/// The file rests between uses: RestAfterMs after the last use (where an event loop runs), the
/// connection is closed and SQLite's library let go; the next use loads and opens them again
/// as they were left (for writing, or for reading only), in a few milliseconds.
///
/// A file that is damaged or is not a settings database is moved aside (nothing is deleted) and
/// a fresh store is started in its place; damagedCopy() then says where the old file went.
/// A file that cannot be opened for writing (a full disk, no permission, a read-only file
/// system) is opened for reading only, so that the settings are still read; a file that cannot
/// even be read leaves the store closed, and reads give their defaults. Either way writes throw
/// StoreError naming the file and the cause, until the cause has gone: each change first tries
/// again to open the file for writing. notice() says all this once.
///
/// Waits for another program that holds the file are kept short (BusyWaitMs): a change that
/// cannot get the file in that time throws StoreError with its own cause.
class StoreFile final
{
public:
    /// The longest time a call waits for another program that holds the store.
    static constexpr int BusyWaitMs = 1000;
    /// How long the file stays open after its last use.
    static constexpr int RestAfterMs = 1000;

    /// Opens (creating when missing) the store at `path`.
    explicit StoreFile(QString path = defaultPath());
    ~StoreFile();
    StoreFile(const StoreFile &) = delete;
    StoreFile &operator=(const StoreFile &) = delete;

    /// The user's store: tockwell/settings.db under the XDG configuration directory.
    static QString defaultPath();

    const QString &path() const { return m_path; }
    /// Whether the settings can be read (for writing or for reading only).
    bool isOpen() const { return m_access != Access::Closed; }
    /// Whether the store was opened for writing.
    bool isWritable() const { return m_access == Access::Writable; }

    /// Where a damaged file found at opening was kept; empty when the file was sound.
    const QString &damagedCopy() const { return m_damagedCopy; }
    /// The text that tells the user about a damaged file once; empty when there is nothing to say.
    QString damageNotice() const;
    /// Everything the user is to be told once after opening: a damaged file kept aside, a store
    /// that can only be read or not at all (with the file and the cause). Empty when all is well.
    QString notice() const;
    /// Says that the user has been told (notice()) that the store cannot be written: from now
    /// on, a change to a store that still cannot be written is dropped instead of throwing.
    void acceptReadOnly() { m_dropRefusedChanges = true; }

    /// Closes the file and lets SQLite's library go now, unless a transaction is open; the next
    /// use opens them again.
    void rest();
    /// Whether the file rests: SQLite's library is not loaded for it.
    bool isResting() const;

private:
    friend class Store;
    friend class StoreTransaction;
    class Use;

    enum class OpenResult
    {
        Ok,
        Damaged,
        Failed
    };
    enum class Access
    {
        Writable,
        ReadOnly,
        Closed
    };
    /// Why the file could not be opened or changed: SQLite's result code and the system's errno.
    struct Failure
    {
        int code = 0;
        int systemError = 0;
    };

    /// Loads SQLite's library when it is not; false when it cannot be loaded.
    bool loadSqlite();
    const SqliteLibrary &sqlite() const;
    /// Opens the file again as it was left when it rests; true when it can be read.
    bool wake();
    /// Starts (again) the wait after which the file rests.
    void restLater();
    void closeConnection(sqlite3 *db) const;
    OpenResult openWritable(sqlite3 *&db, Failure &failure);
    bool openReadOnly();
    bool repairSideFiles(Failure &failure) const;
    void configure(sqlite3 *db);
    void closeDatabase();
    void keepDamagedFile();
    /// Opens the file for writing again when it was not; true when it now is.
    bool becomeWritable();
    /// Before a change: true when the store can take it, false when the change is dropped
    /// (acceptReadOnly()); throws StoreError with `what` when it cannot.
    bool readyToChange(const QString &what);
    /// Throws StoreError: `what`, the file and the cause of `failure`.
    [[noreturn]] void refuse(const QString &what, Failure failure) const;
    /// refuse() for a statement that failed with `code`; a transaction around it then fails.
    [[noreturn]] void refuseInTransaction(const QString &what, int code);
    /// The failure of the last call on the connection that returned `code`.
    Failure failureOf(int code) const;
    /// The result code of the connection's last call; SQLITE_CANTOPEN when there is none.
    int lastError() const;
    /// A prepared statement for `sql` (a string literal), kept for the life of the connection.
    sqlite3_stmt *statement(const char *sql);
    int exec(const char *sql);

    QString m_path;
    QString m_damagedCopy;
    std::unique_ptr<const SqliteLibrary> m_sqlite;
    QTimer m_restTimer;
    sqlite3 *m_db = nullptr;
    Access m_access = Access::Closed;
    Failure m_openFailure;
    bool m_dropRefusedChanges = false;
    qint64 m_busySince = 0;
    std::map<const char *, sqlite3_stmt *> m_statements;
    int m_transactionDepth = 0;
    bool m_transactionFailed = false;
    bool m_transactionDropped = false;
    Failure m_transactionFailure;
};

/// All changes made while it lives are written together when commit() is called, or not at all.
/// Transactions nest; only the outermost one writes.
class StoreTransaction final
{
public:
    /// Throws StoreError when the store cannot be locked for writing.
    explicit StoreTransaction(StoreFile &file);
    ~StoreTransaction();
    StoreTransaction(const StoreTransaction &) = delete;
    StoreTransaction &operator=(const StoreTransaction &) = delete;

    /// Throws StoreError when the changes could not be written; they are then all undone.
    void commit();

private:
    StoreFile &m_file;
    bool m_done = false;
};

/// The settings as a tree of keys, in the manner of the Windows registry under
/// HKEY_CURRENT_USER: a key holds named values and one unnamed value (the empty name) and may
/// hold subkeys. Key paths and value names are matched without regard to letter case; values
/// are listed in the order in which they were first created, and overwriting a value keeps its
/// place.
///
/// A Store lives for one handler: open a key, read or write, and let it go.
///
/// Reading rule: a value is returned only if it exists with the type asked for; anything else
/// gives nothing, never an error. Every write either succeeds and is on disk when the call
/// returns, or throws StoreError.
class Store final
{
public:
    explicit Store(StoreFile &file) : m_file(file) {}

    /// Opens the key at `path` (parts separated by "\"), creating it and its parents when
    /// missing. Returns false when the key could not be opened; reads then give nothing and
    /// writes throw.
    bool openKey(const QString &path);
    void closeKey() { m_key = 0; }
    /// Whether a key exists at `path`; creates nothing.
    bool keyExists(const QString &path) const;

    bool valueExists(const QString &name) const { return valueType(name) != regtype::None; }
    /// The type code of the value, regtype::None when it does not exist.
    int valueType(const QString &name) const;

    std::optional<QString> readString(const QString &name) const;       ///< REG_SZ only
    std::optional<QString> readExpandString(const QString &name) const; ///< REG_EXPAND_SZ only
    std::optional<int> readInteger(const QString &name) const;          ///< REG_DWORD only
    std::optional<bool> readBool(const QString &name) const; ///< REG_DWORD, true when not 0
    std::optional<RawValue> readRaw(const QString &name) const;

    void writeString(const QString &name, const QString &text);
    void writeExpandString(const QString &name, const QString &text);
    void writeInteger(const QString &name, int number);
    void writeBool(const QString &name, bool flag); ///< as REG_DWORD 0 or 1
    void writeRaw(const QString &name, const RawValue &value);

    /// The names of the open key's values in order of first creation; the unnamed value, when
    /// present, as an empty name.
    QStringList valueNames() const;
    /// The names of the open key's subkeys in order of creation.
    QStringList subkeyNames() const;

    /// Removes one value; false when there was none.
    bool deleteValue(const QString &name);
    /// Removes a subkey of the open key with everything below it; false when there was none.
    bool deleteSubkey(const QString &name);
    /// Removes a subkey with everything below it and creates it again, empty.
    void recreateSubkey(const QString &name);

private:
    const SqliteLibrary &sqlite() const;
    /// The names that `sql` (with the open key bound to ?1) selects, in its order.
    QStringList namesUnderKey(const char *sql) const;
    /// Runs the deletion `sql` (?1 the open key, ?2 the folded name); throws StoreError with
    /// `what` on error.
    bool deleteNamed(const char *sql, const QString &what, const QString &name);
    qint64 childKey(qint64 parent, const QString &name) const;
    qint64 createChildKey(qint64 parent, const QString &name);
    void upsert(const QString &name, const RawValue &value);

    StoreFile &m_file;
    qint64 m_key = 0;
};

/// Splits a key path at "\" and drops empty parts (leading, trailing or doubled separators).
QStringList keyPathParts(const QString &path);

} // namespace tockwell
