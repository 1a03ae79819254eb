#pragma once

#include <QString>

#include <sqlite3.h>

namespace tockwell {

/// SQLite's shared library, opened by the store while it uses its file and closed again when
/// the store rests: a program that waits in the tray for hours keeps no database code mapped.
/// Each function member calls SQLite's function of the same name with the prefix `sqlite3_`.
class SqliteLibrary final
{
public:
    /// Opens the library (`fileName`, found as the system finds libraries) and finds its
    /// functions; isLoaded() says whether all of them were found. Each object holds its own
    /// reference: the library is unmapped when the last one goes.
    explicit SqliteLibrary(const QString &fileName = defaultFileName());
    /// Closes the library; no connection may be left open.
    ~SqliteLibrary();
    SqliteLibrary(const SqliteLibrary &) = delete;
    SqliteLibrary &operator=(const SqliteLibrary &) = delete;

    static QString defaultFileName() { return QStringLiteral("libsqlite3.so.0"); }

    bool isLoaded() const { return m_loaded; }

    decltype(&::sqlite3_bind_blob) bind_blob = nullptr;
    decltype(&::sqlite3_bind_int) bind_int = nullptr;
    decltype(&::sqlite3_bind_int64) bind_int64 = nullptr;
    decltype(&::sqlite3_bind_text16) bind_text16 = nullptr;
    decltype(&::sqlite3_busy_handler) busy_handler = nullptr;
    decltype(&::sqlite3_changes) changes = nullptr;
    decltype(&::sqlite3_clear_bindings) clear_bindings = nullptr;
    decltype(&::sqlite3_close_v2) close_v2 = nullptr;
    decltype(&::sqlite3_column_blob) column_blob = nullptr;
    decltype(&::sqlite3_column_bytes) column_bytes = nullptr;
    decltype(&::sqlite3_column_bytes16) column_bytes16 = nullptr;
    decltype(&::sqlite3_column_int) column_int = nullptr;
    decltype(&::sqlite3_column_int64) column_int64 = nullptr;
    decltype(&::sqlite3_column_text) column_text = nullptr;
    decltype(&::sqlite3_column_text16) column_text16 = nullptr;
    decltype(&::sqlite3_config) config = nullptr;
    decltype(&::sqlite3_db_readonly) db_readonly = nullptr;
    decltype(&::sqlite3_errcode) errcode = nullptr;
    decltype(&::sqlite3_errstr) errstr = nullptr;
    decltype(&::sqlite3_exec) exec = nullptr;
    decltype(&::sqlite3_extended_result_codes) extended_result_codes = nullptr;
    decltype(&::sqlite3_finalize) finalize = nullptr;
    decltype(&::sqlite3_open_v2) open_v2 = nullptr;
    decltype(&::sqlite3_prepare_v2) prepare_v2 = nullptr;
    decltype(&::sqlite3_prepare_v3) prepare_v3 = nullptr;
    decltype(&::sqlite3_reset) reset = nullptr;
    decltype(&::sqlite3_step) step = nullptr;
    decltype(&::sqlite3_system_errno) system_errno = nullptr;

private:
    void *m_handle = nullptr;
    bool m_loaded = false;
};

} // namespace tockwell
