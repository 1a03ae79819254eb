#include "SqliteLibrary.h"

#include <QFile>

#include <dlfcn.h>

namespace tockwell {

namespace {

template <typename Function>
void find(void *library, Function &function, const char *name, bool &foundAll)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    foundAll = foundAll && function != nullptr;
}

} // namespace

// dlopen() itself, not QLibrary: dlopen counts every reference, so that one store letting go
// never unmaps the library under another that still uses it.
SqliteLibrary::SqliteLibrary(const QString &fileName)
    : m_handle(::dlopen(QFile::encodeName(fileName).constData(), RTLD_NOW | RTLD_LOCAL))
{
    if (!m_handle)
        return;
    bool all = true;
    find(m_handle, bind_blob, "sqlite3_bind_blob", all);
    find(m_handle, bind_int, "sqlite3_bind_int", all);
    find(m_handle, bind_int64, "sqlite3_bind_int64", all);
    find(m_handle, bind_text16, "sqlite3_bind_text16", all);
    find(m_handle, busy_handler, "sqlite3_busy_handler", all);
    find(m_handle, changes, "sqlite3_changes", all);
    find(m_handle, clear_bindings, "sqlite3_clear_bindings", all);
    find(m_handle, close_v2, "sqlite3_close_v2", all);
    find(m_handle, column_blob, "sqlite3_column_blob", all);
    find(m_handle, column_bytes, "sqlite3_column_bytes", all);
    find(m_handle, column_bytes16, "sqlite3_column_bytes16", all);
    find(m_handle, column_int, "sqlite3_column_int", all);
    find(m_handle, column_int64, "sqlite3_column_int64", all);
    find(m_handle, column_text, "sqlite3_column_text", all);
    find(m_handle, column_text16, "sqlite3_column_text16", all);
    find(m_handle, config, "sqlite3_config", all);
    find(m_handle, db_readonly, "sqlite3_db_readonly", all);
    find(m_handle, errcode, "sqlite3_errcode", all);
    find(m_handle, errstr, "sqlite3_errstr", all);
    find(m_handle, exec, "sqlite3_exec", all);
    find(m_handle, extended_result_codes, "sqlite3_extended_result_codes", all);
    find(m_handle, finalize, "sqlite3_finalize", all);
    find(m_handle, open_v2, "sqlite3_open_v2", all);
    find(m_handle, prepare_v2, "sqlite3_prepare_v2", all);
    find(m_handle, prepare_v3, "sqlite3_prepare_v3", all);
    find(m_handle, reset, "sqlite3_reset", all);
    find(m_handle, step, "sqlite3_step", all);
    find(m_handle, system_errno, "sqlite3_system_errno", all);
    m_loaded = all;
}

SqliteLibrary::~SqliteLibrary()
{
    if (m_handle)
        ::dlclose(m_handle);
}

} // namespace tockwell
