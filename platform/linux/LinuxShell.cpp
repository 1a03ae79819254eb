#include "LinuxShell.h"

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
namespace {

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GErrorFree
{
    void operator()(GError *error) const { g_error_free(error); }
};

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

// Opens `url` in the default application of its type (files, folders) or scheme (web addresses)
// as GIO finds it; Qt's opener (xdg-open or the desktop's portal) where GIO knows none.
void openWithDefault(const QUrl &url)
{
    GError *raw = nullptr;
    const QByteArray uri = url.toEncoded();
    if (g_app_info_launch_default_for_uri(uri.constData(), nullptr, &raw))
        return;
    const std::unique_ptr<GError, GErrorFree> error(raw);
    QDesktopServices::openUrl(url);
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
    const std::unique_ptr<GAppInfo, GObjectUnref> browser(
        g_app_info_get_default_for_uri_scheme("http"));
    if (browser) {
        GList uris{};
        char blank[] = "about:blank";
        uris.data = blank;
        if (g_app_info_launch_uris(browser.get(), &uris, nullptr, nullptr))
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
