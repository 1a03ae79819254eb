// GNOME's means on a headless mutter of the test's own (a private session bus, PipeWire, a
// virtual monitor, a native Wayland client that logs what it receives): keys reach the client
// with their modifier, the pointer moves and clicks at the points given, and the monitor goes off
// and comes back at the next input.
#include "platform/linux/MutterDesktop.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tockwell::platform;

namespace {

int powerSaveMode()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        u"org.gnome.Mutter.DisplayConfig"_qs, u"/org/gnome/Mutter/DisplayConfig"_qs,
        u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs);
    get.setArguments({u"org.gnome.Mutter.DisplayConfig"_qs, u"PowerSaveMode"_qs});
    const QDBusReply<QDBusVariant> reply = QDBusConnection::sessionBus().call(get);
    return reply.isValid() ? reply.value().variant().toInt() : -1;
}

} // namespace

class TestMutter : public QObject
{
    Q_OBJECT

    QTemporaryDir runtime;
    QProcess bus, pipeWire, mutter, client;
    std::unique_ptr<MutterDesktop> seatKeyboard;

    QString clientLog() const
    {
        QFile log(runtime.filePath(u"wev.log"_qs));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    /// The pointer's last whole-pixel position in the client's window, as `log` tells.
    QPoint pointerInClient(const QString &log) const
    {
        static const QRegularExpression at(u"x, y: (\\d+)\\.000000, (\\d+)\\.000000"_qs);
        QPoint last;
        for (const QRegularExpressionMatch &match : at.globalMatch(log))
            last = {match.captured(1).toInt(), match.captured(2).toInt()};
        return last;
    }
    QPoint pointerInClient() const { return pointerInClient(clientLog()); }

private slots:
    void initTestCase()
    {
        for (const QString &tool : {u"mutter"_qs, u"wev"_qs, u"dbus-daemon"_qs}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(tool + u" is not installed"_qs));
        }
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        const QString address = tockwell::test::startPrivateBus(bus);
        QVERIFY2(!address.isEmpty(), "the private session bus did not start");
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        // PipeWire carries the screen cast on which the pointer is placed; without it only that
        // test is skipped.
        pipeWire.start(u"pipewire"_qs, QStringList());
        if (pipeWire.waitForStarted())
            QTRY_VERIFY_WITH_TIMEOUT(MutterDesktop::pipeWireRuns(), 30000);
        mutter.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mutter.start(u"mutter"_qs,
                     {u"--headless"_qs, u"--wayland"_qs, u"--no-x11"_qs, u"--virtual-monitor"_qs,
                      u"1280x800"_qs, u"--wayland-display"_qs, u"tockwell-mutter"_qs});
        if (!mutter.waitForStarted())
            QSKIP("mutter cannot be started");
        QTRY_VERIFY_WITH_TIMEOUT(MutterDesktop::offersRemoteDesktop(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(MutterDesktop::offersDisplayConfig(), 30000);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"WAYLAND_DISPLAY"_qs, u"tockwell-mutter"_qs);
        client.setProcessEnvironment(environment);
        client.setStandardOutputFile(runtime.filePath(u"wev.log"_qs));
        client.start(u"stdbuf"_qs, {u"-oL"_qs, u"wev"_qs});
        QTRY_VERIFY_WITH_TIMEOUT(clientLog().contains(u"activated"_qs), 30000);
        // The seat's own keyboard, which a desktop has and the headless one lacks: a session of
        // the test's, kept to the end, whose virtual keyboard the client takes the focus of.
        seatKeyboard = std::make_unique<MutterDesktop>();
        seatKeyboard->pressKeys(KeyCombination{{}, 0xffe1}); // Shift
        QTRY_VERIFY_WITH_TIMEOUT(clientLog().contains(u"wl_keyboard] enter"_qs), 30000);
    }

    void cleanupTestCase()
    {
        seatKeyboard.reset();
        for (QProcess *process : {&client, &mutter, &pipeWire, &bus}) {
            process->terminate();
            process->waitForFinished();
        }
    }

    void keysReachTheFocusedClientWithTheirModifier()
    {
        MutterDesktop gnome;
        gnome.pressKeys(KeyCombination{{0xffe3}, 'c'}); // [CTRL+C]
        QTRY_VERIFY2_WITH_TIMEOUT(clientLog().contains(u"sym: c "_qs), qPrintable(clientLog()),
                                  10000);
        QVERIFY2(clientLog().contains(u"depressed: 00000004: Control"_qs), qPrintable(clientLog()));
    }

    void pointerMovesAndClicksAtThePointsGiven()
    {
        if (!MutterDesktop::pipeWireRuns())
            QSKIP("pipewire is not installed");
        MutterDesktop gnome;
        // The headless seat gains its pointer at the first move, and the client takes it only
        // after; a later move enters the client's window, wherever mutter put it.
        QPoint entered;
        for (QDeadlineTimer deadline(20000); entered.isNull() && !deadline.hasExpired();) {
            gnome.movePointer({640, 400});
            QTest::qWait(250);
            entered = pointerInClient();
        }
        QVERIFY2(!entered.isNull(), qPrintable(clientLog()));
        gnome.movePointer({650, 420});
        gnome.leftButton(true);
        gnome.leftButton(false);
        QTRY_VERIFY2_WITH_TIMEOUT(clientLog().contains(u"button: 272 (left), state: 0"_qs),
                                  qPrintable(clientLog()), 10000);
        const QString log = clientLog();
        const qsizetype pressed = log.indexOf(u"button: 272 (left), state: 1 (pressed)"_qs);
        QCOMPARE(pointerInClient(log.left(pressed)), entered + QPoint(10, 20));
    }

    void monitorOffUntilTheNextInput()
    {
        MutterDesktop gnome;
        QCOMPARE(powerSaveMode(), 0);
        gnome.monitorOff();
        QTRY_COMPARE_WITH_TIMEOUT(powerSaveMode(), 3, 10000);
        gnome.pressKeys(KeyCombination{{}, 0xffe1}); // the user's next input: Shift
        QTRY_COMPARE_WITH_TIMEOUT(powerSaveMode(), 0, 10000);
    }
};

QTEST_GUILESS_MAIN(TestMutter)
#include "tst_mutter.moc"
