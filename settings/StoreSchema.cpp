#include "StoreSchema.h"

#include "SqliteLibrary.h"
#include "StoreFailure.h"

#include <initializer_list>

namespace tockwell::schema {

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

} // namespace

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

bool isEmpty(const SqliteLibrary &sqlite, sqlite3 *db)
{
    int objects = -1;
    return selectNumber(sqlite, db, "SELECT count(*) FROM sqlite_schema", objects) == SQLITE_OK &&
           objects == 0;
}

int create(const SqliteLibrary &sqlite, sqlite3 *db)
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

bool isIntact(const SqliteLibrary &sqlite, sqlite3 *db)
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

} // namespace tockwell::schema
