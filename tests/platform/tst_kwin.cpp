// KDE Plasma's means on a headless KWin of the test's own (a private session bus, a virtual
// output, XWayland, a native Wayland client that logs what it receives). KWin grants its fake
// input as a desktop would: through a desktop file made from the program's own, whose Exec is
// this test. The means follow what this KWin offers, and keys found on XWayland's layout reach
// the client with the modifiers of their level. (Clicks and the desktop shown: e2e_kwin.)
#include "platform/linux/KwinDesktop.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/X11Keyboard.h"
#include "support/PrivateBus.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xlib.h>
#include <csignal>
#include <memory>
#include <sys/prctl.h>

using namespace tockwell::platform;

namespace {

const QString Socket = u"tockwell-kwin"_qs;

struct DisplayClose
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};

} // namespace

class TestKwin : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;
    QProcess m_bus, m_kwin, m_client;
    std::unique_ptr<Display, DisplayClose> m_xwayland;
    std::unique_ptr<LinuxDesktop> m_plasma;

    QString file(const QString &name) const { return m_runtime.filePath(name); }
    QString read(const QString &name) const
    {
        QFile log(file(name));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }
    QString clientLog() const { return read(u"wev.log"_qs); }

    /// The program's desktop file with this test as its program, where KWin looks for it.
    void grantFakeInput()
    {
        QFile shipped(QStringLiteral(TOCKWELL_DESKTOP_FILE));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QString entry = QString::fromUtf8(shipped.readAll());
        entry.replace(QRegularExpression(u"^Exec=.*$"_qs, QRegularExpression::MultilineOption),
                      u"Exec="_qs + QCoreApplication::applicationFilePath());
        QVERIFY(QDir(m_runtime.path()).mkpath(u"share/applications"_qs));
        QFile granted(file(u"share/applications/tockwell.desktop"_qs));
        QVERIFY(granted.open(QIODevice::WriteOnly));
        granted.write(entry.toUtf8());
    }

    /// KWin, without the file capability that its binary has (which a process of root's, or
    /// one in a container, may not take): a copy of its own, of the same name.
    QString kwinCopy()
    {
        const QString copy = file(u"bin/kwin_wayland"_qs);
        QDir(m_runtime.path()).mkpath(u"bin"_qs);
        QFile::copy(QStandardPaths::findExecutable(u"kwin_wayland"_qs), copy);
        return copy;
    }

private slots:
    void initTestCase()
    {
        for (const QString &tool :
             {u"kwin_wayland"_qs, u"Xwayland"_qs, u"wev"_qs, u"dbus-daemon"_qs}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(tool + u" is not installed"_qs));
        }
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        qputenv("XDG_DATA_DIRS", (m_runtime.path() + u"/share:/usr/share"_qs).toUtf8());
        qputenv("XDG_CACHE_HOME", file(u"cache"_qs).toUtf8());
        qputenv("XDG_CONFIG_HOME", file(u"config"_qs).toUtf8());
        grantFakeInput();
        QVERIFY2(tockwell::test::usePrivateSessionBus(m_bus),
                 "the private session bus did not start");

        // The session's first program writes down the X display that KWin gave XWayland, and
        // lives as long as KWin.
        QFile session(file(u"session.sh"_qs));
        QVERIFY(session.open(QIODevice::WriteOnly));
        session.write("#!/bin/sh\necho \"$DISPLAY\" > \"$XDG_RUNTIME_DIR/display.tmp\"\n"
                      "mv \"$XDG_RUNTIME_DIR/display.tmp\" \"$XDG_RUNTIME_DIR/display\"\n"
                      "exec tail --pid=$PPID -f /dev/null\n");
        session.close();
        session.setPermissions(session.permissions() | QFile::ExeOwner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"QT_QPA_PLATFORM"_qs, u"WAYLAND_DISPLAY"_qs, u"DISPLAY"_qs})
            environment.remove(name);
        m_kwin.setProcessEnvironment(environment);
        m_kwin.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); }); // dies with us
        m_kwin.setStandardOutputFile(file(u"kwin.log"_qs));
        m_kwin.setProcessChannelMode(QProcess::MergedChannels);
        m_kwin.start(kwinCopy(),
                     {u"--virtual"_qs, u"--xwayland"_qs, u"--width"_qs, u"1280"_qs, u"--height"_qs,
                      u"800"_qs, u"--socket"_qs, Socket, u"--no-lockscreen"_qs,
                      u"--no-kactivities"_qs, u"--exit-with-session"_qs, session.fileName()});
        if (!m_kwin.waitForStarted())
            QSKIP("kwin_wayland cannot be started");
        QTRY_VERIFY2_WITH_TIMEOUT(QFile::exists(file(u"display"_qs)) ||
                                      m_kwin.state() == QProcess::NotRunning,
                                  qPrintable(read(u"kwin.log"_qs)), 60000);
        QVERIFY2(m_kwin.state() == QProcess::Running, qPrintable(read(u"kwin.log"_qs)));
        QTRY_VERIFY_WITH_TIMEOUT(KwinDesktop::offersService(), 30000);
        m_xwayland.reset(XOpenDisplay(read(u"display"_qs).trimmed().toLocal8Bit().constData()));
        QVERIFY(m_xwayland);

        environment.insert(u"WAYLAND_DISPLAY"_qs, Socket);
        m_client.setProcessEnvironment(environment);
        m_client.setStandardOutputFile(file(u"wev.log"_qs));
        m_client.start(u"stdbuf"_qs, {u"-oL"_qs, u"wev"_qs});
        QTRY_VERIFY_WITH_TIMEOUT(clientLog().contains(u"wl_keyboard] enter"_qs), 30000);

        qputenv("WAYLAND_DISPLAY", Socket.toUtf8());
        m_plasma =
            std::make_unique<LinuxDesktop>(DesktopSession{Compositor::KWin, u"KDE Plasma"_qs},
                                           QStringLiteral(TOCKWELL_WAYLAND_LIBRARY));
    }

    void cleanupTestCase()
    {
        m_plasma.reset();
        m_xwayland.reset();
        for (QProcess *process : {&m_client, &m_kwin, &m_bus}) {
            process->terminate();
            process->waitForFinished();
        }
    }

    void eachOperationHasItsMeans()
    {
        QCOMPARE(m_plasma->means(Operation::PressKeys).backEnd, u"wayland-kwin"_qs);
        QCOMPARE(m_plasma->means(Operation::Pointer).backEnd, u"wayland-kwin"_qs);
        QCOMPARE(m_plasma->means(Operation::ShowDesktop).backEnd, u"wayland-kwin"_qs);
        // The virtual back end lists no input devices, and its output cannot be switched off.
        QVERIFY2(m_plasma->means(Operation::SuspendInput).refusal.contains(u"urządzeń wejścia"_qs),
                 qPrintable(m_plasma->means(Operation::SuspendInput).refusal));
        QVERIFY2(m_plasma->means(Operation::MonitorOff).refusal.contains(u"żaden z monitorów"_qs),
                 qPrintable(m_plasma->means(Operation::MonitorOff).refusal));
    }

    void keysReachTheFocusedClientWithTheirModifiers_data()
    {
        QTest::addColumn<KeyCombination>("keys");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("modifiers");
        QTest::newRow("[CTRL+C]") << KeyCombination{{0xffe3}, 'c'} << u"sym: c "_qs
                                  << u"depressed: 00000004: Control"_qs;
        // A capital is on the shifted level of the layout: Shift is held for it.
        QTest::newRow("A") << KeyCombination{{}, 'A'} << u"sym: A "_qs
                           << u"depressed: 00000001: Shift"_qs;
    }
    void keysReachTheFocusedClientWithTheirModifiers()
    {
        QFETCH(KeyCombination, keys);
        QFETCH(QString, symbol);
        QFETCH(QString, modifiers);
        X11Keyboard layout;
        const std::optional<X11Keyboard::KeyCodes> codes =
            layout.keysToPress(m_xwayland.get(), keys);
        QVERIFY(codes);
        std::vector<uint32_t> kernelCodes;
        for (const unsigned char code : *codes)
            kernelCodes.push_back(code - 8u);
        m_plasma->wayland()->pressKeys(keys, kernelCodes);
        QTRY_VERIFY2_WITH_TIMEOUT(clientLog().contains(symbol), qPrintable(clientLog()), 10000);
        const QString log = clientLog();
        QVERIFY2(log.left(log.indexOf(symbol)).contains(modifiers), qPrintable(log));
    }
};

QTEST_GUILESS_MAIN(TestKwin)
#include "tst_kwin.moc"
