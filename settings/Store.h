#pragma once

#include "RegistryValue.h"
#include "StoreFailure.h"
#include "StoreFile.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace tockwell {

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
    bool openKey(QStringView path);
    void closeKey() { m_key = 0; }
    /// Whether a key exists at `path`; creates nothing.
    bool keyExists(QStringView path) const;

    bool valueExists(QStringView name) const { return valueType(name) != regtype::None; }
    /// The type code of the value, regtype::None when it does not exist.
    int valueType(QStringView name) const;

    std::optional<QString> readString(QStringView name) const;       ///< REG_SZ only
    std::optional<QString> readExpandString(QStringView name) const; ///< REG_EXPAND_SZ only
    std::optional<int> readInteger(QStringView name) const;          ///< REG_DWORD only
    std::optional<bool> readBool(QStringView name) const;            ///< REG_DWORD, true when not 0
    std::optional<RawValue> readRaw(QStringView name) const;

    void writeString(QStringView name, const QString &text);
    void writeExpandString(QStringView name, const QString &text);
    void writeInteger(QStringView name, int number);
    void writeBool(QStringView name, bool flag); ///< as REG_DWORD 0 or 1
    void writeRaw(QStringView name, const RawValue &value);

    /// The names of the open key's values in order of first creation; the unnamed value, when
    /// present, as an empty name.
    QStringList valueNames() const;
    /// The names of the open key's subkeys in order of creation.
    QStringList subkeyNames() const;

    /// Removes one value; false when there was none.
    bool deleteValue(QStringView name);
    /// Removes a subkey of the open key with everything below it; false when there was none.
    bool deleteSubkey(QStringView name);
    /// Removes a subkey with everything below it and creates it again, empty.
    void recreateSubkey(QStringView name);

private:
    const SqliteLibrary &sqlite() const;
    /// The names that `sql` (with the open key bound to ?1) selects, in its order.
    QStringList namesUnderKey(const char *sql) const;
    /// Runs the deletion `sql` (?1 the open key, ?2 the folded name); throws StoreError with
    /// `what` on error.
    bool deleteNamed(const char *sql, const QString &what, QStringView name);
    qint64 childKey(qint64 parent, QStringView name) const;
    qint64 createChildKey(qint64 parent, QStringView name);
    void upsert(QStringView name, const RawValue &value);

    StoreFile &m_file;
    qint64 m_key = 0;
};

/// Splits a key path at "\" and drops empty parts (leading, trailing or doubled separators).
QStringList keyPathParts(QStringView path);

} // namespace tockwell
