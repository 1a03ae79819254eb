#pragma once

#include "../Shell.h"

#include <QStringList>
#include <QUrl>

#include <memory>

namespace tockwell::platform {

/// Opening and starting on a Linux desktop. Programs are started directly with their argument
/// list, never through a shell; documents, folders and web addresses go to the desktop's default
/// application (the freedesktop.org associations, through GIO, which is loaded with the first
/// opening; without it through Qt's opener).
class LinuxShell final : public Shell
{
public:
    LinuxShell();
    ~LinuxShell() override;

    void open(const QString &target, const QString &parameters, ShowCommand show) override;
    void openFileManager() override;
    void openBlankBrowser() override;
    void openControlPanel() override;

private:
    class Gio;
    /// GIO's functions, looked up at the first opening; nullptr without GIO.
    const Gio *gio();
    /// Opens `url` in the default application of its type or scheme.
    void openWithDefault(const QUrl &url);

    bool m_gioTried = false;
    std::unique_ptr<Gio> m_gio;
};

/// What opening a target comes to.
struct OpenRequest
{
    enum class Kind
    {
        Program,  ///< `program` is started with `arguments`
        Document, ///< `url` (a file or folder) opens in its default application
        Web       ///< `url` opens in the application of its scheme (the browser for http)
    };
    Kind kind = Kind::Document;
    QString program;
    QStringList arguments;
    QUrl url;
};

/// Decides how `target` is opened. A target in double quotes (as the setup window's file fields
/// show a path with blanks) names the path inside them. An executable file, or the name of a
/// program on the PATH, is a program; an existing file or folder a document; anything else a web
/// address, given "http://" when it has no scheme.
OpenRequest openRequest(const QString &target, const QString &parameters);

/// The settings programs of the usual desktops, in the order they are looked for on the PATH.
QStringList settingsPrograms();

} // namespace tockwell::platform
