#include "LinuxShell.h"

#include "SystemLibrary.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

// GIO names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <memory>

namespace tockwell::platform {

/// The few GIO functions that open things, from the system's GIO loaded at the first opening:
/// a start does not load GIO and GObject (and the mount and SELinux libraries they bring).
/// Their types come from GIO's headers, so the compiler checks every call.
class LinuxShell::Gio
{
public:
    /// Nothing when GIO or one of the functions is missing.
    static std::unique_ptr<Gio> load()
    {
        SystemLibrary library(u"gio-2.0"_qs, 0);
        auto gio = std::make_unique<Gio>();
        if (!library.resolve("g_app_info_launch_default_for_uri", gio->launchDefaultForUri) ||
            !library.resolve("g_app_info_get_default_for_uri_scheme", gio->defaultForScheme) ||
            !library.resolve("g_app_info_launch_uris", gio->launchUris) ||
            !library.resolve("g_object_unref", gio->objectUnref) ||
            !library.resolve("g_error_free", gio->errorFree))
            return nullptr;
        return gio;
    }

    decltype(&g_app_info_launch_default_for_uri) launchDefaultForUri = nullptr;
    decltype(&g_app_info_get_default_for_uri_scheme) defaultForScheme = nullptr;
    decltype(&g_app_info_launch_uris) launchUris = nullptr;
    decltype(&g_object_unref) objectUnref = nullptr;
    decltype(&g_error_free) errorFree = nullptr;
};

namespace {

QString unquoted(const QString &target)
{
    if (target.size() >= 2 && target.startsWith(u'"') && target.endsWith(u'"'))
        return target.mid(1, target.size() - 2);
    return target;
}

// A scheme of more than one letter, without dots and not followed by a port number: "C:\x",
// "www.example.com:8080" and "localhost:8080" have none.
bool hasScheme(const QString &target)
{
    const QUrl url(target, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || scheme.size() < 2 || scheme.contains(u'.'))
        return false;
    const QString rest = target.mid(scheme.size() + 1);
    return rest.isEmpty() || !rest.front().isDigit();
}

} // namespace

OpenRequest openRequest(const QString &target, const QString &parameters)
{
    const QString path = unquoted(target);
    OpenRequest request;
    const QFileInfo file(path);
    if (!path.isEmpty() && file.exists()) {
        if (file.isFile() && file.isExecutable()) {
            request.kind = OpenRequest::Kind::Program;
            request.program = file.absoluteFilePath();
            request.arguments = QProcess::splitCommand(parameters);
            return request;
        }
        request.url = QUrl::fromLocalFile(file.absoluteFilePath());
        return request;
    }
    if (path.startsWith(u'/')) { // a file that is not there: its opening fails quietly
        request.url = QUrl::fromLocalFile(path);
        return request;
    }
    if (!path.contains(u'/') && !path.isEmpty()) {
        if (const QString program = QStandardPaths::findExecutable(path); !program.isEmpty()) {
            request.kind = OpenRequest::Kind::Program;
            request.program = program;
            request.arguments = QProcess::splitCommand(parameters);
            return request;
        }
    }
    request.kind = OpenRequest::Kind::Web;
    request.url = hasScheme(path) ? QUrl(path) : QUrl(u"http://"_qs + path.trimmed());
    return request;
}

LinuxShell::LinuxShell() = default;

LinuxShell::~LinuxShell() = default;

const LinuxShell::Gio *LinuxShell::gio()
{
    if (!m_gioTried) {
        m_gioTried = true;
        m_gio = Gio::load();
    }
    return m_gio.get();
}

// Opens `url` in the default application of its type (files, folders) or scheme (web addresses)
// as GIO finds it; Qt's opener (xdg-open or the desktop's portal) where GIO knows none.
void LinuxShell::openWithDefault(const QUrl &url)
{
    if (const Gio *functions = gio()) {
        GError *error = nullptr;
        const QByteArray uri = url.toEncoded();
        if (functions->launchDefaultForUri(uri.constData(), nullptr, &error))
            return;
        if (error)
            functions->errorFree(error);
    }
    QDesktopServices::openUrl(url);
}

void LinuxShell::open(const QString &target, const QString &parameters, ShowCommand)
{
    const OpenRequest request = openRequest(target, parameters);
    if (request.kind == OpenRequest::Kind::Program) {
        // A file that only carries the executable bit (as on FAT drives) does not start: then it
        // opens as a document.
        if (!QProcess::startDetached(request.program, request.arguments))
            openWithDefault(QUrl::fromLocalFile(request.program));
        return;
    }
    openWithDefault(request.url);
}

void LinuxShell::openFileManager()
{
    // The application for folders is the file manager.
    openWithDefault(QUrl::fromLocalFile(QDir::homePath()));
}

void LinuxShell::openBlankBrowser()
{
    // "about:blank" has no handler of its own: it goes to the application of web addresses.
    if (const Gio *functions = gio()) {
        const auto unref = [functions](GAppInfo *info) { functions->objectUnref(info); };
        const std::unique_ptr<GAppInfo, decltype(unref)> browser(
            functions->defaultForScheme("http"), unref);
        GList uris{};
        char blank[] = "about:blank";
        uris.data = blank;
        if (browser && functions->launchUris(browser.get(), &uris, nullptr, nullptr))
            return;
    }
    QDesktopServices::openUrl(QUrl(u"about:blank"_qs));
}

void LinuxShell::openControlPanel()
{
    for (const QString &name : settingsPrograms()) {
        if (const QString program = QStandardPaths::findExecutable(name); !program.isEmpty()) {
            QProcess::startDetached(program, {});
            return;
        }
    }
}

QStringList settingsPrograms()
{
    return {u"gnome-control-center"_qs,   u"systemsettings"_qs,    u"systemsettings5"_qs,
            u"xfce4-settings-manager"_qs, u"cinnamon-settings"_qs, u"mate-control-center"_qs,
            u"budgie-control-center"_qs,  u"lxqt-config"_qs,       u"unity-control-center"_qs};
}

} // namespace tockwell::platform
