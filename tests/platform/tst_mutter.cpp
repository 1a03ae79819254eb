// GNOME's means on a headless mutter of the test's own (a private session bus, a virtual
// monitor, a native Wayland client that logs what it receives): keys reach the client with their
// modifier, and the monitor goes off and comes back at the next input. (The pointer: e2e_mutter.)
#include "platform/linux/MutterDesktop.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/prctl.h>

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

    QTemporaryDir m_runtime;
    QProcess m_bus, m_mutter, m_client;
    std::unique_ptr<MutterDesktop> m_seatKeyboard;

    QString clientLog() const
    {
        QFile log(m_runtime.filePath(u"wev.log"_qs));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

private slots:
    void initTestCase()
    {
        for (const QString &tool : {u"mutter"_qs, u"wev"_qs, u"dbus-daemon"_qs}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(tool + u" is not installed"_qs));
        }
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        QVERIFY2(tockwell::test::usePrivateSessionBus(m_bus),
                 "the private session bus did not start");
        m_mutter.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_mutter.setChildProcessModifier(
            [] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); }); // dies with us
        m_mutter.start(u"mutter"_qs,
                       {u"--headless"_qs, u"--wayland"_qs, u"--no-x11"_qs, u"--virtual-monitor"_qs,
                        u"1280x800"_qs, u"--wayland-display"_qs, u"tockwell-mutter"_qs});
        if (!m_mutter.waitForStarted())
            QSKIP("mutter cannot be started");
        QTRY_VERIFY_WITH_TIMEOUT(MutterDesktop::offersRemoteDesktop(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(MutterDesktop::offersDisplayConfig(), 30000);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"WAYLAND_DISPLAY"_qs, u"tockwell-mutter"_qs);
        m_client.setProcessEnvironment(environment);
        m_client.setStandardOutputFile(m_runtime.filePath(u"wev.log"_qs));
        m_client.start(u"stdbuf"_qs, {u"-oL"_qs, u"wev"_qs});
        QTRY_VERIFY_WITH_TIMEOUT(clientLog().contains(u"activated"_qs), 30000);
        // The seat's own keyboard, which a desktop has and the headless one lacks: a session of
        // the test's, kept to the end, whose virtual keyboard the client takes the focus of.
        m_seatKeyboard = std::make_unique<MutterDesktop>();
        m_seatKeyboard->pressKeys(KeyCombination{{}, 0xffe1}); // Shift
        QTRY_VERIFY_WITH_TIMEOUT(clientLog().contains(u"wl_keyboard] enter"_qs), 30000);
    }

    void cleanupTestCase()
    {
        m_seatKeyboard.reset();
        for (QProcess *process : {&m_client, &m_mutter, &m_bus}) {
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
