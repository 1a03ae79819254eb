// A suspension in a KDE Plasma Wayland session, against a stand-in for KWin's input devices
// (python3-dbusmock, tests/support/kwin_input_devices.py) on a private session bus: only the
// devices of the suspension's kind that are on go off, the end gives back exactly those, and the
// guard gives them back when the program's pipe closes, as it does when the program is killed.
#include "platform/linux/KwinInputDevices.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>

using namespace tockwell::platform;

namespace {

const QStringList Devices{u"event0"_qs, u"event1"_qs, u"event2"_qs};

/// Which devices are on, as "101".
QString enabledDevices()
{
    QString states;
    for (const QString &device : Devices) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            u"org.kde.KWin"_qs, u"/org/kde/KWin/InputDevice/"_qs + device,
            u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs);
        get.setArguments({u"org.kde.KWin.InputDevice"_qs, u"enabled"_qs});
        const QDBusReply<QDBusVariant> reply = QDBusConnection::sessionBus().call(get);
        states += !reply.isValid() ? u'?' : reply.value().variant().toBool() ? u'1' : u'0';
    }
    return states;
}

} // namespace

class TestKwinInput : public QObject
{
    Q_OBJECT

    QProcess m_bus, m_kwin;

private slots:
    void initTestCase()
    {
        if (const QString missing = tockwell::test::missingDbusMock(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
        QVERIFY2(tockwell::test::usePrivateSessionBus(m_bus),
                 "the private session bus did not start");
        m_kwin.setProcessChannelMode(QProcess::ForwardedChannels);
        m_kwin.start(tockwell::test::Python,
                     {u"-m"_qs, u"dbusmock"_qs, u"--template"_qs, QStringLiteral(KWIN_TEMPLATE)});
        QTRY_VERIFY_WITH_TIMEOUT(KwinInputDevices::offered(), 15000);
        QCOMPARE(enabledDevices(), u"110"_qs);
    }

    void cleanupTestCase()
    {
        for (QProcess *process : {&m_kwin, &m_bus}) {
            process->terminate();
            process->waitForFinished();
        }
    }

    void onlyTheKindThatIsOnGoesOffAndComesBack_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("suspended");
        // event2, a keyboard the user switched off, stays off either way.
        QTest::newRow("keyboard") << int(DeviceKind::Keyboard) << u"010"_qs;
        QTest::newRow("pointer") << int(DeviceKind::Pointer) << u"100"_qs;
    }
    void onlyTheKindThatIsOnGoesOffAndComesBack()
    {
        QFETCH(int, kind);
        QFETCH(QString, suspended);
        KwinInputDevices devices(QStringLiteral(TOCKWELL_INPUT_GUARD));
        devices.suspend(DeviceKind(kind));
        QCOMPARE(enabledDevices(), suspended);
        devices.resume();
        QCOMPARE(enabledDevices(), u"110"_qs);
    }

    void withoutAGuardNothingIsTaken()
    {
        KwinInputDevices devices(u"/nonexistent/tockwell-input-guard"_qs);
        devices.suspend(DeviceKind::Keyboard);
        QCOMPARE(enabledDevices(), u"110"_qs);
    }

    void guardGivesTheDevicesBackWhenThePipeCloses()
    {
        QProcess guard;
        guard.start(QStringLiteral(TOCKWELL_INPUT_GUARD), {u"--kwin"_qs, u"event0"_qs});
        QVERIFY(guard.waitForStarted());
        KwinInputDevices::setEnabled(u"event0"_qs, false);
        QCOMPARE(enabledDevices(), u"010"_qs);
        guard.closeWriteChannel(); // as the kernel does when the program is killed
        QVERIFY(guard.waitForFinished());
        QCOMPARE(guard.exitCode(), 0);
        QCOMPARE(enabledDevices(), u"110"_qs);
    }
};

QTEST_GUILESS_MAIN(TestKwinInput)
#include "tst_kwininput.moc"
