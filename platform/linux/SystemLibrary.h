#pragma once

#include <QLibrary>

namespace tockwell::platform {

/// A system library opened to look up a few of its functions by name, typed by the caller
/// (`decltype(&function)` from the library's own header, so that the compiler checks every
/// call). The library is never unloaded: the object goes, the library stays.
class SystemLibrary
{
public:
    /// `name` as QLibrary takes it ("gio-2.0", "Xtst") and its major version.
    SystemLibrary(const QString &name, int version) : m_library(name, version) {}

    /// Sets `function` to the function `symbol`; false when the library or the function is
    /// missing.
    template <typename Function> bool resolve(const char *symbol, Function &function)
    {
        function = reinterpret_cast<Function>(m_library.resolve(symbol));
        return function != nullptr;
    }

private:
    QLibrary m_library;
};

} // namespace tockwell::platform
