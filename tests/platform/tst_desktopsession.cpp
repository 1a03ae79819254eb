// Which compositor a session's environment names, and so whose means the program uses.
#include "platform/DesktopSession.h"

#include <QTest>

using namespace tockwell::platform;

class TestDesktopSession : public QObject
{
    Q_OBJECT

private slots:
    void environmentNamesTheCompositor_data()
    {
        QTest::addColumn<QString>("sessionType");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<int>("compositor");
        QTest::addColumn<QString>("name");
        const auto row = [](const char *name, const char *type, const char *display,
                            const char *desktop, Compositor compositor, const char *shown) {
            QTest::newRow(name) << QString::fromUtf8(type) << QString::fromUtf8(display)
                                << QString::fromUtf8(desktop) << int(compositor)
                                << QString::fromUtf8(shown);
        };
        row("X11 GNOME", "x11", "", "GNOME", Compositor::X11, "X11");
        row("no session type, no display", "", "", "sway", Compositor::X11, "X11");
        row("GNOME", "wayland", "wayland-0", "GNOME", Compositor::Mutter, "GNOME");
        row("Ubuntu's GNOME", "wayland", "wayland-0", "ubuntu:GNOME", Compositor::Mutter, "GNOME");
        row("KDE Plasma", "wayland", "wayland-0", "KDE", Compositor::KWin, "KDE Plasma");
        row("sway, display only", "", "wayland-1", "sway", Compositor::Wlroots, "sway");
        row("labwc, any case", "wayland", "", "LabWC", Compositor::Wlroots, "LabWC");
        row("unknown", "wayland", "wayland-0", "Weston", Compositor::OtherWayland, "Weston");
        row("none named", "wayland", "wayland-0", "", Compositor::OtherWayland, "nieznany");
    }
    void environmentNamesTheCompositor()
    {
        QFETCH(QString, sessionType);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, desktop);
        QFETCH(int, compositor);
        QFETCH(QString, name);
        QProcessEnvironment environment;
        environment.insert(u"XDG_SESSION_TYPE"_qs, sessionType);
        environment.insert(u"WAYLAND_DISPLAY"_qs, waylandDisplay);
        environment.insert(u"XDG_CURRENT_DESKTOP"_qs, desktop);
        const DesktopSession session = DesktopSession::fromEnvironment(environment);
        QCOMPARE(int(session.compositor), compositor);
        QCOMPARE(session.name, name);
    }
};

QTEST_GUILESS_MAIN(TestDesktopSession)
#include "tst_desktopsession.moc"
