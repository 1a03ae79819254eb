#pragma once

#include <QCoreApplication>
#include <QLibrary>
#include <QString>

#include <memory>

namespace tockwell::platform {

/// A back end that lives in a library of its own next to the program, opened at its first use
/// so that a start does not load what only it needs. The library exports one function,
/// `Backend *ENTRY(int version)`, which makes a new back end for the caller or returns nullptr
/// when `version` is not its own (a library left over from another build). Once opened the
/// library stays loaded to the end of the program.
template <typename Backend> class LibraryBackend
{
public:
    LibraryBackend(QString file, const char *entryPoint, int version)
        : m_file(std::move(file)), m_entryPoint(entryPoint), m_version(version)
    {}
    LibraryBackend(const LibraryBackend &) = delete;
    LibraryBackend &operator=(const LibraryBackend &) = delete;

    /// The back end, the library opened on the first call; nullptr when it cannot be (error()
    /// tells why; a later call does not try again).
    Backend *backend()
    {
        if (!m_tried) {
            m_tried = true;
            open();
        }
        return m_backend.get();
    }
    QString error() const { return m_error; }

    /// `name` in the program's folder.
    static QString besideProgram(const QString &name)
    {
        return QCoreApplication::applicationDirPath() + u'/' + name;
    }

private:
    void open()
    {
        // Never unloaded: the QLibrary object goes, the library stays.
        QLibrary library(m_file);
        using Entry = Backend *(*)(int);
        const auto entry = reinterpret_cast<Entry>(library.resolve(m_entryPoint));
        if (!entry) {
            m_error = u"%1 cannot be loaded: %2"_qs.arg(m_file, library.errorString());
            return;
        }
        // The library hands over a new back end: owned here from now on.
        m_backend.reset(entry(m_version));
        if (!m_backend)
            m_error = u"%1 belongs to another build of the program."_qs.arg(m_file);
    }

    const QString m_file;
    const char *const m_entryPoint;
    const int m_version;
    bool m_tried = false;
    std::unique_ptr<Backend> m_backend;
    QString m_error;
};

} // namespace tockwell::platform
