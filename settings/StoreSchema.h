#pragma once

#include <QtGlobal>

struct sqlite3;

namespace tockwell {

class SqliteLibrary;

/// The tables of the settings file: what they are, how a file is checked to be one, how they
/// are created. Each function works on an open connection `db` of `sqlite`.
namespace schema {

/// The row of the root key, HKEY_CURRENT_USER.
inline constexpr qint64 RootKey = 1;

/// SQLITE_OK for a store made by this program or a database without any table; SQLITE_NOTADB
/// for a database of another program; else the error that stopped the reading.
int checkShape(const SqliteLibrary &sqlite, sqlite3 *db);

/// Whether the database holds no table at all (a new, empty file).
bool isEmpty(const SqliteLibrary &sqlite, sqlite3 *db);

/// Creates the tables and the root key unless the file has them; SQLite's result code.
int create(const SqliteLibrary &sqlite, sqlite3 *db);

/// Whether the tables are those of a settings store and the file reads sound.
bool isIntact(const SqliteLibrary &sqlite, sqlite3 *db);

} // namespace schema

} // namespace tockwell
