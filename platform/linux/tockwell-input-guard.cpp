// tockwell-input-guard DISPLAY ID...: gives the XInput devices ID of the X display DISPLAY back
// ("Device Enabled" = 1) when its standard input ends, and then ends itself.
// tockwell-input-guard --kwin NAME...: the same for the input devices NAME (event3, …) that KWin
// lists on the session bus (org.kde.KWin.InputDevice's `enabled`).
//
// The program starts one guard for each input suspension, with a pipe on the guard's standard
// input whose writing end only the program holds. The kernel closes that end when the program
// ends in any way, SIGKILL and crashes included, and the guard's read returns end of file; the
// program closes it itself when the user stops the suspension. A SIGTERM to the guard gives the
// devices back as well. The guard leaves the program's session, so that a Ctrl+C or a hang-up
// of the program's terminal does not end it with the program.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t terminated = 0;

void onTerminate(int)
{
    terminated = 1;
}

// Blocks until standard input ends (or fails) or a SIGTERM arrives.
void waitForTheEnd()
{
    char buffer[256];
    for (;;) {
        const ssize_t read = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (read > 0)
            continue;
        if (read < 0 && errno == EINTR && !terminated)
            continue;
        return;
    }
}

// A device that has gone since (unplugged) is no reason to stop: the others still come back.
int ignoreError(::Display *, XErrorEvent *)
{
    return 0;
}

bool enableDevices(const char *displayName, const std::vector<int> &ids)
{
    ::Display *display = XOpenDisplay(displayName);
    if (!display)
        return false;
    XSetErrorHandler(ignoreError);
    const Atom enabled = XInternAtom(display, "Device Enabled", False);
    unsigned char on = 1;
    for (const int id : ids)
        XIChangeProperty(display, id, enabled, XA_INTEGER, 8, XIPropModeReplace, &on, 1);
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

bool enableKwinDevices(int argc, char **argv)
{
    const QCoreApplication application(argc, argv); // for the bus connection
    QDBusConnection bus = QDBusConnection::sessionBus();
    for (int i = 2; i < argc; ++i) {
        QDBusMessage enable = QDBusMessage::createMethodCall(
            QStringLiteral("org.kde.KWin"),
            QStringLiteral("/org/kde/KWin/InputDevice/") + QString::fromLocal8Bit(argv[i]),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
        enable.setArguments({QStringLiteral("org.kde.KWin.InputDevice"), QStringLiteral("enabled"),
                             QVariant::fromValue(QDBusVariant(true))});
        bus.call(enable); // a device that has gone since is no reason to stop
    }
    return bus.isConnected();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const bool kwin = std::strcmp(argv[1], "--kwin") == 0;
    std::vector<int> ids;
    for (int i = 2; i < argc && !kwin; ++i)
        ids.push_back(std::atoi(argv[i]));

    setsid();
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGQUIT, SIG_IGN);
    struct sigaction terminate = {};
    terminate.sa_handler = onTerminate; // no SA_RESTART: the read is interrupted
    sigemptyset(&terminate.sa_mask);
    sigaction(SIGTERM, &terminate, nullptr);

    waitForTheEnd();
    if (kwin)
        return enableKwinDevices(argc, argv) ? 0 : 1;
    return enableDevices(argv[1], ids) ? 0 : 1;
}
