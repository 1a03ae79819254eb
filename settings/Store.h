#pragma once

#include "engine/Error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace tockwell {

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

/// A write that the store refused: "Failed to set data for '%s'".
class StoreError final : public Error
{
public:
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
/// short-lived Store on it, which costs no file opening.
///
/// A file that is damaged or is not a settings database is moved aside (nothing is deleted) and
/// a fresh store is started in its place; damagedCopy() then says where the old file went.
/// A file that cannot be opened at all leaves the store closed: reads give their defaults and
/// writes throw StoreError.
class StoreFile final
{
public:
    /// Opens (creating when missing) the store at `path`.
    explicit StoreFile(QString path = defaultPath());
    ~StoreFile();
    StoreFile(const StoreFile &) = delete;
    StoreFile &operator=(const StoreFile &) = delete;

    /// The user's store: tockwell/settings.db under the XDG configuration directory.
    static QString defaultPath();

    const QString &path() const { return m_path; }
    bool isOpen() const { return m_db != nullptr; }

    /// Where a damaged file found at opening was kept; empty when the file was sound.
    const QString &damagedCopy() const { return m_damagedCopy; }
    /// The text that tells the user about a damaged file once; empty when there is nothing to say.
    QString damageNotice() const;

private:
    friend class Store;
    friend class StoreTransaction;

    enum class OpenResult
    {
        Ok,
        Damaged,
        Failed
    };
    OpenResult openDatabase();
    int createSchema();
    void closeDatabase();
    void keepDamagedFile();
    /// A prepared statement for `sql` (a string literal), kept for the life of the connection.
    sqlite3_stmt *statement(const char *sql);
    bool exec(const char *sql);

    QString m_path;
    QString m_damagedCopy;
    sqlite3 *m_db = nullptr;
    std::map<const char *, sqlite3_stmt *> m_statements;
    int m_transactionDepth = 0;
    bool m_transactionFailed = false;
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
    /// The names that `sql` (with the open key bound to ?1) selects, in its order.
    QStringList namesUnderKey(const char *sql) const;
    /// Runs the deletion `sql` (?1 the open key, ?2 the folded name); throws `failure` on error.
    bool deleteNamed(const char *sql, const QString &failure, const QString &name);
    qint64 childKey(qint64 parent, const QString &name) const;
    qint64 createChildKey(qint64 parent, const QString &name);
    void upsert(const QString &name, const RawValue &value);

    StoreFile &m_file;
    qint64 m_key = 0;
};

/// Splits a key path at "\" and drops empty parts (leading, trailing or doubled separators).
QStringList keyPathParts(const QString &path);

} // namespace tockwell
