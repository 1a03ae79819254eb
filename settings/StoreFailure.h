#pragma once

#include "core/Error.h"

#include <QString>

namespace tockwell {

class SqliteLibrary;

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

/// Why the settings file could not be opened or changed: SQLite's result code and the system's
/// errno.
struct StoreFailure
{
    int code = 0;
    int systemError = 0;
};

/// The failure code of a store whose SQLite library could not be opened.
inline constexpr int LibraryMissing = -1;

/// Whether SQLite's result code says that the file is damaged or is not a database.
bool isDamage(int code);
/// Whether SQLite's result code says that another connection holds the file.
bool isBusy(int code);

/// The cause of a failure, in words for the user; `sqlite`, when loaded, names SQLite's own
/// errors.
QString causeText(StoreFailure failure, const SqliteLibrary *sqlite);

/// The error of a refused change: `what` could not be done, the file at `path`, and `cause`.
StoreError refusal(const QString &what, const QString &path, const QString &cause);

/// The text that tells the user once about a damaged file kept as `damagedCopy`; empty when
/// there was none.
QString damagedFileNotice(const QString &damagedCopy);

/// The text that tells the user once that the file at `path` cannot be written, for `cause`:
/// its settings were read (`readable`) or the program runs with the defaults.
QString unwritableNotice(bool readable, const QString &path, const QString &cause);

} // namespace tockwell
