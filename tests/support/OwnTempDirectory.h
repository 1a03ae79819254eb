#pragma once

// A temporary folder of the test's own that stands in for the system's (TMPDIR), so that a test
// sees every file the code leaves there and no other program's.
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tockwell::test {

class OwnTempDirectory final
{
public:
    /// Makes the folder the system's temporary folder (TMPDIR) from now on; false when it could
    /// not be created.
    bool use() const
    {
        if (!m_dir.isValid())
            return false;
        qputenv("TMPDIR", m_dir.path().toLocal8Bit());
        return true;
    }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    /// The files in the folder, hidden ones included.
    QStringList files() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

private:
    QTemporaryDir m_dir;
};

} // namespace tockwell::test
