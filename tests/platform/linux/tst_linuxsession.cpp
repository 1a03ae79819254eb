// logind's refusals and answers as the program's error codes, and the privileges that are
// refused without asking logind.
#include "platform/linux/LinuxSession.h"

#include <QTest>

using namespace tockwell::platform;

class TestLinuxSession : public QObject
{
    Q_OBJECT

private slots:
    void logindRefusals_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("code");
        QTest::newRow("not permitted") << u"org.freedesktop.DBus.Error.AccessDenied"_qs << 5;
        QTest::newRow("needs a password")
            << u"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"_qs << 5;
        QTest::newRow("inhibited") << u"org.freedesktop.login1.BlockedByInhibitorLock"_qs << 5;
        QTest::newRow("no hibernation") << u"org.freedesktop.login1.SleepVerbNotSupported"_qs << 50;
        QTest::newRow("old logind") << u"org.freedesktop.DBus.Error.UnknownMethod"_qs << 50;
        QTest::newRow("no logind") << u"org.freedesktop.DBus.Error.ServiceUnknown"_qs << 1722;
        QTest::newRow("no system bus") << u"org.freedesktop.DBus.Error.FileNotFound"_qs << 1722;
        QTest::newRow("bus gone") << u"org.freedesktop.DBus.Error.Disconnected"_qs << 1722;
        QTest::newRow("no answer") << u"org.freedesktop.DBus.Error.NoReply"_qs << 1460;
        QTest::newRow("busy") << u"org.freedesktop.login1.OperationInProgress"_qs << 1115;
        QTest::newRow("anything else") << u"org.example.Strange"_qs << 31;
    }
    void logindRefusals()
    {
        QFETCH(QString, error);
        QFETCH(int, code);
        const Failure failure = logindFailure(error, u"logind's words"_qs);
        QCOMPARE(failure.code, code);
        QVERIFY(!failure.description.isEmpty());
        QCOMPARE(failure.description == u"logind's words"_qs, code == 31);
    }

    void logindAnswers_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("code"); // 0: allowed
        QTest::newRow("yes") << u"yes"_qs << 0;
        QTest::newRow("no") << u"no"_qs << 5;
        QTest::newRow("challenge cannot be answered") << u"challenge"_qs << 5;
        QTest::newRow("not available") << u"na"_qs << 50;
    }
    void logindAnswers()
    {
        QFETCH(QString, answer);
        QFETCH(int, code);
        const auto failure = logindAnswerFailure(answer);
        QCOMPARE(failure ? failure->code : 0, code);
    }

    void unknownPrivilegeIsRefusedWithoutAsking()
    {
        LinuxSession session(QDBusConnection(u"never connected"_qs));
        QCOMPARE(session.adjustPrivilege(u"SeDebugPrivilege"_qs, true)->code, 1313);
        QVERIFY(!session.adjustPrivilege(u"SeShutdownPrivilege"_qs, false));
        QCOMPARE(session.adjustPrivilege(u"SeShutdownPrivilege"_qs, true)->code, 1722);
        QCOMPARE(session.setPowerState(true, true)->code, 1722);
        QVERIFY(!session.usesPrivileges());
    }
};

QTEST_MAIN(TestLinuxSession)
#include "tst_linuxsession.moc"
