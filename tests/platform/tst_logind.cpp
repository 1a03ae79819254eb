// Session and power through a fake logind (python3-dbusmock's template) on a private bus that
// this test starts; the machine's own logind is never reached.
#include "core/Error.h"
#include "engine/SystemOperations.h"
#include "platform/linux/LinuxSession.h"
#include "support/PrivateBus.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;
using namespace tockwell::platform;

class TestLogind : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (const QString missing = test::missingDbusMock(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
        m_address = test::startPrivateBus(m_bus);
        QVERIFY(!m_address.isEmpty());
        m_connection = QDBusConnection::connectToBus(m_address, u"private system bus"_qs);
        QVERIFY(m_connection.isConnected());
    }

    // Before the fake logind starts: a bus without logind, and no bus at all.
    void withoutLogindEveryRequestIsRefusedWithTheSystemError()
    {
        LinuxSession onBus(m_connection);
        QCOMPARE(onBus.setPowerState(false, true)->code, 1722);
        QCOMPARE(onBus.adjustPrivilege(u"SeShutdownPrivilege"_qs, true)->code, 1722);
        onBus.exitSession(SessionEnd::PowerOff); // no answer expected, no crash

        LinuxSession noBus(QDBusConnection(u"no such connection"_qs));
        try {
            enterPowerState(noBus, true, true);
            QFAIL("no system error");
        } catch (const SystemError &error) {
            QCOMPARE(error.code(), 1722);
            QVERIFY(error.text().startsWith(u"System Error.  Code: 1722.\r\n"_qs));
        }
    }

    void startTheFakeLogind()
    {
        QVERIFY(m_log.isValid());
        QVERIFY(test::startFakeLogind(m_logind, m_address, {u"-l"_qs, logFile()}));
        QTRY_VERIFY_WITH_TIMEOUT(
            m_connection.interface()->isServiceRegistered(u"org.freedesktop.login1"_qs), 15000);
    }

    void sessionEndsAreForced_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("call");
        QTest::newRow("log off ends this session")
            << int(SessionEnd::LogOff) << u"TerminateSession \"auto\""_qs;
        QTest::newRow("power off") << int(SessionEnd::PowerOff) << u"PowerOff False"_qs;
        QTest::newRow("reboot") << int(SessionEnd::Reboot) << u"Reboot False"_qs;
        QTest::newRow("shut down powers off") << int(SessionEnd::Shutdown) << u"PowerOff False"_qs;
    }
    void sessionEndsAreForced()
    {
        QFETCH(int, how);
        QFETCH(QString, call);
        LinuxSession session(m_connection);
        session.exitSession(SessionEnd(how));
        QTRY_COMPARE_WITH_TIMEOUT(lastCall(), call, 10000);
    }

    void powerStates_data()
    {
        QTest::addColumn<bool>("suspend");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("call");
        QTest::newRow("suspend") << true << true << u"Suspend False"_qs;
        QTest::newRow("hibernate") << false << true << u"Hibernate False"_qs;
        QTest::newRow("hibernate, asking") << false << false << u"Hibernate True"_qs;
    }
    void powerStates()
    {
        QFETCH(bool, suspend);
        QFETCH(bool, force);
        QFETCH(QString, call);
        LinuxSession session(m_connection);
        QVERIFY(!session.setPowerState(suspend, force));
        QCOMPARE(lastCall(), call);
    }

    void privilegeTellsWhetherThisSessionMayPowerOff_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("code");
        QTest::newRow("yes") << u"yes"_qs << 0;
        QTest::newRow("challenge") << u"challenge"_qs << 5;
        QTest::newRow("no") << u"no"_qs << 5;
        QTest::newRow("na") << u"na"_qs << 50;
    }
    void privilegeTellsWhetherThisSessionMayPowerOff()
    {
        QFETCH(QString, answer);
        QFETCH(int, code);
        replaceMethod(u"CanPowerOff"_qs, u""_qs, u"s"_qs, u"ret = '%1'"_qs.arg(answer));
        LinuxSession session(m_connection);
        const auto failure = session.adjustPrivilege(u"SeShutdownPrivilege"_qs, true);
        QCOMPARE(failure ? failure->code : 0, code);
        QCOMPARE(setPrivilege(session, u"SeShutdownPrivilege"_qs, true), code == 0);
    }

    void refusedHibernationIsTheSystemError()
    {
        replaceMethod(u"Hibernate"_qs, u"b"_qs, u""_qs,
                      u"raise dbus.exceptions.DBusException('Not enough swap space for "
                      "hibernation', name='org.freedesktop.login1.SleepVerbNotSupported')"_qs);
        LinuxSession session(m_connection);
        try {
            enterPowerState(session, false, true);
            QFAIL("no system error");
        } catch (const SystemError &error) {
            QCOMPARE(error.text(), u"System Error.  Code: 50.\r\nThe request is not supported."_qs);
        }
    }

    void refusedSuspendIsTheSystemError()
    {
        replaceMethod(u"Suspend"_qs, u"b"_qs, u""_qs,
                      u"raise dbus.exceptions.DBusException('Access denied', "
                      "name='org.freedesktop.DBus.Error.AccessDenied')"_qs);
        LinuxSession session(m_connection);
        const auto failure = session.setPowerState(true, true);
        QVERIFY(failure);
        QCOMPARE(failure->code, 5);
        QCOMPARE(failure->description, u"Access is denied."_qs);
    }

    void cleanupTestCase()
    {
        m_logind.kill();
        m_logind.waitForFinished();
        m_bus.kill();
        m_bus.waitForFinished();
    }

private:
    QString logFile() const { return m_log.filePath(u"logind.log"_qs); }

    // The last call the fake logind logged, without its time stamp.
    QString lastCall() const
    {
        QFile file(logFile());
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
        const QByteArray last = lines.last();
        return QString::fromUtf8(last.mid(last.indexOf(' ') + 1));
    }

    void replaceMethod(const QString &name, const QString &in, const QString &out,
                       const QString &code)
    {
        QDBusInterface mock(u"org.freedesktop.login1"_qs, u"/org/freedesktop/login1"_qs,
                            u"org.freedesktop.DBus.Mock"_qs, m_connection);
        const QDBusMessage reply =
            mock.call(u"AddMethod"_qs, u"org.freedesktop.login1.Manager"_qs, name, in, out, code);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }

    QProcess m_bus;
    QProcess m_logind;
    QString m_address;
    QDBusConnection m_connection{u"unset"_qs};
    QTemporaryDir m_log;
};

QTEST_GUILESS_MAIN(TestLogind)
#include "tst_logind.moc"
