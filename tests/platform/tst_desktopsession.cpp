// Which compositor a session's environment names, and so whose means the program uses; where
// what the compositor offers falls short, which refusal the user reads.
#include "platform/DesktopSession.h"

#include <QTest>

using namespace tockwell::platform;

Q_DECLARE_METATYPE(WaylandOffers)

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

    void meansFollowWhatTheCompositorOffers_data()
    {
        QTest::addColumn<int>("compositor");
        QTest::addColumn<int>("operation");
        QTest::addColumn<WaylandOffers>("offers");
        QTest::addColumn<QString>("means"); ///< the back end, or a part of the refusal
        const auto row = [](const char *name, Compositor compositor, Operation operation,
                            WaylandOffers offers, const char *means) {
            QTest::newRow(name) << int(compositor) << int(operation) << offers
                                << QString::fromUtf8(means);
        };
        const WaylandOffers gnome{.remoteDesktop = true, .screenCast = true, .pipeWire = true};
        row("GNOME click", Compositor::Mutter, Operation::Pointer, gnome, "wayland-mutter");
        row("GNOME click, no PipeWire", Compositor::Mutter, Operation::Pointer,
            {.remoteDesktop = true, .screenCast = true}, "nie działa PipeWire");
        row("GNOME click, no screen casts", Compositor::Mutter, Operation::Pointer,
            {.remoteDesktop = true, .pipeWire = true}, "usługi org.gnome.Mutter.ScreenCast");
        row("GNOME click, no remote desktop", Compositor::Mutter, Operation::Pointer,
            {.screenCast = true, .pipeWire = true}, "usługi org.gnome.Mutter.RemoteDesktop");
        const WaylandOffers kde{
            .fakeInput = true, .dpms = true, .dpmsOutputs = true, .kwinService = true};
        row("KDE keys", Compositor::KWin, Operation::PressKeys, kde, "wayland-kwin");
        row("KDE keys, not granted", Compositor::KWin, Operation::PressKeys, {},
            "protokołu org_kde_kwin_fake_input");
        row("KDE monitor", Compositor::KWin, Operation::MonitorOff, kde, "wayland-kwin");
        row("KDE monitor, none switchable", Compositor::KWin, Operation::MonitorOff, {.dpms = true},
            "żaden z monitorów");
        row("KDE desktop", Compositor::KWin, Operation::ShowDesktop, kde, "wayland-kwin");
        row("KDE desktop, no bus service", Compositor::KWin, Operation::ShowDesktop, {}, "x11");
        row("KDE suspension", Compositor::KWin, Operation::SuspendInput, {.kwinInputDevices = true},
            "wayland-kwin");
        row("KDE suspension, no devices listed", Compositor::KWin, Operation::SuspendInput, kde,
            "nie wymienia swoich urządzeń");
        // The portal stands in for keys and the pointer only, where the compositor has nothing.
        const WaylandOffers portal{.portalKeyboard = true, .portalPointer = true};
        row("other, keys by the portal", Compositor::OtherWayland, Operation::PressKeys, portal,
            "portal");
        row("other, click, portal without monitors", Compositor::OtherWayland, Operation::Pointer,
            {.portalKeyboard = true}, "nie zna jeszcze sposobu");
        row("other, monitor, portal", Compositor::OtherWayland, Operation::MonitorOff, portal,
            "nie zna jeszcze sposobu");
        row("KDE keys, not granted, portal", Compositor::KWin, Operation::PressKeys, portal,
            "portal");
        WaylandOffers kdeAndPortal = kde;
        kdeAndPortal.portalKeyboard = true;
        row("KDE keys, granted, portal", Compositor::KWin, Operation::PressKeys, kdeAndPortal,
            "wayland-kwin");
    }
    void meansFollowWhatTheCompositorOffers()
    {
        QFETCH(int, compositor);
        QFETCH(int, operation);
        QFETCH(WaylandOffers, offers);
        QFETCH(QString, means);
        const DesktopSession session{Compositor(compositor), u"pulpit"_qs};
        const Means found = session.means(Operation(operation), offers);
        QVERIFY2(found.backEnd == means || (!found.available() && found.refusal.contains(means)),
                 qPrintable(found.backEnd + found.refusal));
    }
};

QTEST_GUILESS_MAIN(TestDesktopSession)
#include "tst_desktopsession.moc"
