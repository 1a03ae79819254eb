// Waking for a clock-time alarm against a fake logind (python3-dbusmock's template) on a
// private bus that this test starts: the delay lock is held while the alarm is armed, the wake
// time is set (recorded) and the lock given back when logind announces a sleep, and after the
// resume the wake time is cleared, the lock taken again, and an alarm slept through is told.
#include "core/ArmedAlarm.h"
#include "engine/AlarmTick.h"
#include "engine/AlarmWake.h"
#include "platform/linux/LinuxSleep.h"
#include "platform/recording/RecordingSleep.h"
#include "support/FakeClock.h"
#include "support/PrivateBus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace tockwell;
using namespace tockwell::platform;
using tockwell::test::FakeClock;

namespace {

const QString Logind = u"org.freedesktop.login1"_qs;
const QString LogindPath = u"/org/freedesktop/login1"_qs;

QDateTime at(int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second));
}

} // namespace

class TestSleepFlow : public QObject
{
    Q_OBJECT

    QProcess m_bus;
    QProcess m_logind;
    QString m_address;
    QDBusConnection m_connection{u"unset"_qs};

    /// The inhibitors that the fake logind holds, as "what who why mode".
    QStringList inhibitors()
    {
        QDBusInterface manager(Logind, LogindPath, u"org.freedesktop.login1.Manager"_qs,
                               m_connection);
        const QDBusMessage reply = manager.call(u"ListInhibitors"_qs);
        QStringList held;
        if (reply.type() != QDBusMessage::ReplyMessage)
            return {u"error: "_qs + reply.errorMessage()};
        const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            QString what, who, why, mode;
            uint uid = 0, pid = 0;
            list.beginStructure();
            list >> what >> who >> why >> mode >> uid >> pid;
            list.endStructure();
            held << QStringList{what, who, why, mode}.join(u' ');
        }
        list.endArray();
        return held;
    }

    void emitPrepareForSleep(bool start)
    {
        QDBusInterface mock(Logind, LogindPath, u"org.freedesktop.DBus.Mock"_qs, m_connection);
        const QDBusMessage reply = mock.call(u"EmitSignal"_qs, u"org.freedesktop.login1.Manager"_qs,
                                             u"PrepareForSleep"_qs, u"b"_qs, QVariantList{start});
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }

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

    void withoutLogindNothingIsHeldAndResumesAreFoundByTheClock()
    {
        LinuxSleep sleep(m_connection);
        QVERIFY(!sleep.watchSleep([](bool) {}));
        QVERIFY(!sleep.inhibitSleep(u"Tockwell"_qs, u"Budzik ustawiony"_qs));
        sleep.releaseSleep();
        LinuxSleep noBus(QDBusConnection(u"no such connection"_qs));
        QVERIFY(!noBus.watchSleep([](bool) {}));
        QVERIFY(!noBus.inhibitSleep(u"Tockwell"_qs, u"Budzik ustawiony"_qs));
    }

    void startTheFakeLogind()
    {
        QVERIFY(test::startFakeLogind(m_logind, m_address));
        QTRY_VERIFY_WITH_TIMEOUT(m_connection.interface()->isServiceRegistered(Logind), 15000);
        QCOMPARE(inhibitors(), QStringList{});
    }

    void theRoundOfAnAlarmAndTwoSleeps()
    {
        auto recorder = std::make_shared<Recorder>();
        RecordingWakeAlarm wakeAlarm(recorder);
        LinuxSleep sleep(m_connection);
        FakeClock clock(at(7, 22, 0));
        ArmedAlarm alarm;
        alarm.Mode = ModeClock.toString();
        alarm.ActionKind = kinds::DefaultWindow.toString();
        alarm.Hour = 7;
        AlarmTick tick(clock);
        QStringList notices;
        int fired = 0;
        AlarmWake wake(sleep, wakeAlarm, clock, alarm,
                       [&notices](const QString &, const QString &text) { notices << text; });
        const auto tickOnce = [&] {
            const bool due = tick.tick(alarm);
            const bool late = wake.ticked(tick.skipped());
            fired += due || late;
        };
        wake.watch(tickOnce);
        const QString lock = u"sleep Tockwell Budzik ustawiony delay"_qs;

        // Armed: the delay lock is held.
        tick.reset();
        wake.armed();
        tickOnce();
        QCOMPARE(inhibitors(), QStringList{lock});
        QCOMPARE(recorder->lines(), QStringList{u"CanWake -> ok"_qs});

        // Logind announces a sleep: one wake time a minute before the alarm, then the lock goes.
        recorder->clear();
        clock.set(at(7, 23, 30));
        emitPrepareForSleep(true);
        QTRY_COMPARE(recorder->lines(),
                     QStringList{u"SetWakeTime %1 -> ok"_qs.arg(at(8, 6, 59).toSecsSinceEpoch())});
        QTRY_COMPARE(inhibitors(), QStringList{});

        // Woken by the clock: the wake time is cleared and the lock is back; nothing missed.
        recorder->clear();
        clock.set(at(8, 6, 59, 0));
        emitPrepareForSleep(false);
        QTRY_COMPARE(recorder->lines(), QStringList{u"ClearWakeTime -> ok"_qs});
        QTRY_COMPARE(inhibitors(), QStringList{lock});
        QVERIFY(notices.isEmpty());

        // A second sleep through the next alarm (the machine did not wake in time).
        recorder->clear();
        clock.set(at(8, 6, 59, 30));
        tickOnce();
        emitPrepareForSleep(true);
        QTRY_COMPARE(recorder->lines().size(), 1);
        QCOMPARE(recorder->lines().first(),
                 u"SetWakeTime %1 -> ok"_qs.arg(at(8, 6, 59, 40).toSecsSinceEpoch()));
        QTRY_COMPARE(inhibitors(), QStringList{});
        clock.set(at(8, 9, 15));
        emitPrepareForSleep(false);
        QTRY_COMPARE(notices.size(), 1);
        QVERIFY(notices.first().contains(u"07:00:00 (8.12.2026)"_qs));
        QVERIFY(notices.first().contains(u"„Domyślne okno”"_qs));
        QTRY_COMPARE(inhibitors(), QStringList{lock});
        QCOMPARE(fired, 0);
        // Still armed for the next morning.
        QTest::qWait(200);
        QCOMPARE(notices.size(), 1);
        clock.set(at(9, 6, 59, 59));
        tickOnce();
        clock.set(at(9, 7, 0, 0));
        tickOnce();
        QCOMPARE(fired, 1);

        // Stop: nothing held, no wake time left.
        recorder->clear();
        wake.disarmed();
        QTRY_COMPARE(inhibitors(), QStringList{});
        QCOMPARE(recorder->lines(), QStringList{});
        emitPrepareForSleep(true);
        emitPrepareForSleep(false);
        QTest::qWait(300);
        QCOMPARE(recorder->lines(), QStringList{});
        QCOMPARE(inhibitors(), QStringList{});
    }

    void cleanupTestCase()
    {
        m_logind.kill();
        m_logind.waitForFinished();
        m_bus.kill();
        m_bus.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestSleepFlow)
#include "tst_sleepflow.moc"
