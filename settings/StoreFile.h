#pragma once

#include "StoreFailure.h"

#include <QString>
#include <QTimer>

#include <map>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace tockwell {

class SqliteLibrary;

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

    /// Loads SQLite's library when it is not; false when it cannot be loaded.
    bool loadSqlite();
    const SqliteLibrary &sqlite() const;
    /// Opens the file again as it was left when it rests; true when it can be read.
    bool wake();
    /// Starts (again) the wait after which the file rests.
    void restLater();
    void closeConnection(sqlite3 *db) const;
    OpenResult openWritable(sqlite3 *&db, StoreFailure &failure);
    /// Switches the journal to WAL, waiting at most BusyWaitMs for another copy of the program;
    /// SQLite's result code.
    int switchToWal(sqlite3 *db) const;
    bool openReadOnly();
    bool repairSideFiles(StoreFailure &failure) const;
    void configure(sqlite3 *db);
    void closeDatabase();
    void keepDamagedFile();
    /// Opens the file for writing again when it was not; true when it now is.
    bool becomeWritable();
    /// Before a change: true when the store can take it, false when the change is dropped
    /// (acceptReadOnly()); throws StoreError with `what` when it cannot.
    bool readyToChange(const QString &what);
    /// Throws StoreError: `what`, the file and the cause of `failure`.
    [[noreturn]] void refuse(const QString &what, StoreFailure failure) const;
    /// refuse() for a statement that failed with `code`; a transaction around it then fails.
    [[noreturn]] void refuseInTransaction(const QString &what, int code);
    /// The failure of the last call on the connection that returned `code`.
    StoreFailure failureOf(int code) const;
    /// The result code of the connection's last call; SQLITE_CANTOPEN when there is none.
    int lastError() const;
    /// A prepared statement for `sql` (a string literal), kept for the life of the connection.
    sqlite3_stmt *statement(const char *sql);
    int exec(const char *sql);
    /// The number of rows that the last statement changed.
    int changes() const;

    QString m_path;
    QString m_damagedCopy;
    std::unique_ptr<const SqliteLibrary> m_sqlite;
    QTimer m_restTimer;
    sqlite3 *m_db = nullptr;
    Access m_access = Access::Closed;
    StoreFailure m_openFailure;
    bool m_dropRefusedChanges = false;
    qint64 m_busySince = 0;
    std::map<const char *, sqlite3_stmt *> m_statements;
    int m_transactionDepth = 0;
    bool m_transactionFailed = false;
    bool m_transactionDropped = false;
    StoreFailure m_transactionFailure;
};

} // namespace tockwell
