#include "core/ArmedAlarm.h"
#include "engine/AlarmTick.h"
#include "support/FakeClock.h"

#include <QTest>

using namespace tockwell;
using tockwell::test::FakeClock;

namespace {

ArmedAlarm clockAlarm(int h, int m, int s)
{
    ArmedAlarm alarm;
    alarm.Mode = u"G"_qs;
    alarm.Hour = h;
    alarm.Minute = m;
    alarm.Second = s;
    return alarm;
}

ArmedAlarm countdown(int ticks)
{
    ArmedAlarm alarm;
    alarm.Mode = u"D"_qs;
    alarm.CountdownLeft = ticks;
    return alarm;
}

// Ticks until the alarm is due; the number of the tick that fired, or 0 within `limit`.
int ticksUntilDue(AlarmTick &tick, ArmedAlarm &alarm, int limit)
{
    for (int n = 1; n <= limit; ++n) {
        if (tick.tick(alarm))
            return n;
    }
    return 0;
}

} // namespace

class TestAlarmTick : public QObject
{
    Q_OBJECT

private slots:
    void countdownCountsTicks()
    {
        FakeClock clock;
        AlarmTick tick(clock);
        ArmedAlarm one = countdown(1);
        QVERIFY(tick.tick(one));
        QCOMPARE(one.CountdownLeft, 0);

        ArmedAlarm five = countdown(5);
        QCOMPARE(ticksUntilDue(tick, five, 10), 5);
    }

    void countdownIgnoresTheClock()
    {
        FakeClock clock;
        AlarmTick tick(clock);
        ArmedAlarm alarm = countdown(3);
        QVERIFY(!tick.tick(alarm));
        clock.advance(3600 * 1000); // the clock set an hour forward
        QVERIFY(!tick.tick(alarm));
        clock.advance(-7200 * 1000);
        QVERIFY(tick.tick(alarm));
    }

    void countdownBelowZeroNeverFires()
    {
        FakeClock clock;
        AlarmTick tick(clock);
        ArmedAlarm alarm = countdown(1);
        QVERIFY(tick.tick(alarm));
        // Ticks that arrive while the action still waits take it below 0 without firing.
        QCOMPARE(ticksUntilDue(tick, alarm, 100), 0);
        QCOMPARE(alarm.CountdownLeft, -100);

        ArmedAlarm lowest = countdown(std::numeric_limits<int>::min());
        QVERIFY(!tick.tick(lowest));
        QCOMPARE(lowest.CountdownLeft, std::numeric_limits<int>::max());
    }

    void otherModesDoNothing()
    {
        FakeClock clock;
        AlarmTick tick(clock);
        ArmedAlarm none = countdown(1);
        none.Mode = u"d"_qs;
        QVERIFY(!tick.tick(none));
        QCOMPARE(none.CountdownLeft, 1);
        none.Mode.clear();
        QVERIFY(!tick.tick(none));
    }

    void clockTimeFiresOnItsSecond()
    {
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(6, 59, 58, 400)));
        AlarmTick tick(clock);
        ArmedAlarm alarm = clockAlarm(7, 0, 0);
        QVERIFY(!tick.tick(alarm));
        clock.advance(1000);
        QVERIFY(!tick.tick(alarm));
        clock.advance(1000);
        QVERIFY(tick.tick(alarm)); // 07:00:00.400: milliseconds are not looked at
        clock.advance(1000);
        QVERIFY(!tick.tick(alarm)); // fires once, not again the next second
        QCOMPARE(alarm.CountdownLeft, 0);
    }

    void lateTickDoesNotSkipTheSecond_data()
    {
        QTest::addColumn<int>("firstMs");
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<bool>("fires");
        // The previous tick at 06:59:59.<firstMs>, the next one `gapMs` later; target 07:00:00.
        QTest::newRow("drifted past the second") << 950 << 1060 << true; // lands on 07:00:01.010
        QTest::newRow("two seconds late") << 999 << 2000 << true;
        QTest::newRow("blocked longer than 2 s") << 999 << 2001 << false;
        QTest::newRow("blocked 10 s") << 500 << 10000 << false;
        QTest::newRow("on time") << 500 << 1000 << true;
    }
    void lateTickDoesNotSkipTheSecond()
    {
        QFETCH(int, firstMs);
        QFETCH(int, gapMs);
        QFETCH(bool, fires);
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(6, 59, 59, firstMs)));
        AlarmTick tick(clock);
        ArmedAlarm alarm = clockAlarm(7, 0, 0);
        QVERIFY(!tick.tick(alarm));
        clock.advance(gapMs);
        QCOMPARE(tick.tick(alarm), fires);
    }

    void secondSeenByAnEarlierTickDoesNotFireAgain()
    {
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(7, 0, 0, 100)));
        AlarmTick tick(clock);
        ArmedAlarm alarm = clockAlarm(7, 0, 0);
        QVERIFY(tick.tick(alarm));
        clock.advance(900); // 07:00:01.000: the next tick must not see 07:00:00 again
        QVERIFY(!tick.tick(alarm));
    }

    void firstTickAfterArmingSeesTheSecondsSinceTheArming()
    {
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(6, 59, 59, 900)));
        AlarmTick tick(clock);
        ArmedAlarm alarm = clockAlarm(7, 0, 0);
        QVERIFY(!tick.tick(alarm));
        clock.advance(600);
        tick.reset(); // disarmed and armed again at 07:00:00.500: the earlier tick no longer counts
        clock.advance(600);
        QVERIFY(!tick.tick(alarm)); // 07:00:01.100 sees only its own second
        // Armed at 06:59:59.900, a first tick that comes late still sees 07:00:00.
        clock.set(QTime(6, 59, 59, 900));
        tick.reset();
        clock.advance(1200);
        QVERIFY(tick.tick(alarm));
    }

    void clockSetBackwardsSeesOnlyTheCurrentSecond()
    {
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(7, 0, 5)));
        AlarmTick tick(clock);
        ArmedAlarm alarm = clockAlarm(7, 0, 1);
        QVERIFY(!tick.tick(alarm));
        clock.set(QTime(7, 0, 0, 500));
        QVERIFY(!tick.tick(alarm));
        clock.advance(1000);
        QVERIFY(tick.tick(alarm));
    }

    void clockSetForwardPastTheTargetSkipsIt()
    {
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(6, 0)));
        AlarmTick tick(clock);
        ArmedAlarm alarm = clockAlarm(7, 0, 0);
        QVERIFY(!tick.tick(alarm));
        clock.set(QTime(8, 0));
        QVERIFY(!tick.tick(alarm));
    }

    void lateTickAcrossMidnight()
    {
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(23, 59, 59, 800)));
        AlarmTick tick(clock);
        ArmedAlarm alarm = clockAlarm(0, 0, 0);
        QVERIFY(!tick.tick(alarm));
        clock.advance(1300); // 00:00:01.100 the next day
        QVERIFY(tick.tick(alarm));
    }

    void repeatingClockTimeFiresTheNextDay()
    {
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(7, 0, 0, 10)));
        AlarmTick tick(clock);
        ArmedAlarm alarm = clockAlarm(7, 0, 0);
        alarm.RepeatSeconds = 30;
        QVERIFY(tick.tick(alarm));
        clock.advance(30000);
        QVERIFY(!tick.tick(alarm));
        clock.set(QDateTime(QDate(2026, 12, 8), QTime(6, 59, 59, 10)));
        QVERIFY(!tick.tick(alarm));
        clock.advance(1000);
        QVERIFY(tick.tick(alarm));
    }

    void clockTimeTickComesJustAfterTheNextSecond_data()
    {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<int>("delayMs");
        QTest::newRow("on the second") << QTime(12, 0, 0, 0) << 1005;
        QTest::newRow("1 ms in") << QTime(12, 0, 0, 1) << 1004;
        QTest::newRow("a tick 1 ms early") << QTime(12, 0, 0, 4) << 1001;
        QTest::newRow("a tick on time") << QTime(12, 0, 0, 5) << 1000;
        QTest::newRow("a tick 30 ms late") << QTime(12, 0, 0, 35) << 970;
        QTest::newRow("mid-second") << QTime(12, 0, 0, 500) << 505;
        QTest::newRow("3 ms before") << QTime(12, 0, 0, 997) << 8;
        QTest::newRow("1 ms before") << QTime(12, 0, 0, 999) << 6;
        QTest::newRow("before midnight") << QTime(23, 59, 59, 998) << 7;
        QTest::newRow("no time") << QTime() << 1005;
    }

    void clockTimeTickComesJustAfterTheNextSecond()
    {
        QFETCH(QTime, now);
        QFETCH(int, delayMs);
        QCOMPARE(AlarmTick::delayToNextSecond(now).count(), delayMs);
    }

    void nextTickFollowsTheMode()
    {
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0, 300)));
        const AlarmTick tick(clock);
        QCOMPARE(tick.nextTick(clockAlarm(12, 0, 5)).count(), 705);
        // A countdown counts whole seconds from its arming, wherever the clock stands.
        QCOMPARE(tick.nextTick(countdown(5)).count(), 1000);
        ArmedAlarm other;
        other.Mode = u"X"_qs;
        QCOMPARE(tick.nextTick(other).count(), 1000);
    }

    void clockTimeTicksStayOnTheSecondWhenTheTimerDrifts_data()
    {
        QTest::addColumn<double>("rate"); // the timer's elapsed time per wall-clock time
        QTest::newRow("exact") << 1.0;
        QTest::newRow("0.5 % fast") << 0.995;
        QTest::newRow("0.5 % slow") << 1.005;
        QTest::newRow("5 % fast") << 0.95;
    }

    void clockTimeTicksStayOnTheSecondWhenTheTimerDrifts()
    {
        QFETCH(double, rate);
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0, 417)));
        AlarmTick tick(clock);
        const ArmedAlarm alarm = clockAlarm(13, 0, 0);
        qint64 second = clock.now().toSecsSinceEpoch();
        int ticks = 0;
        int inTheSameSecond = 0;
        // Each tick re-aligns: every wall-clock second gets its tick, early in the second; a
        // timer that comes early ticks again in the same second at most once.
        while (ticks < 300) {
            clock.advance(qRound64(double(tick.nextTick(alarm).count()) * rate));
            const QDateTime now = clock.now();
            if (now.toSecsSinceEpoch() == second) {
                QVERIFY(++inTheSameSecond <= 1);
                continue;
            }
            inTheSameSecond = 0;
            QCOMPARE(now.toSecsSinceEpoch(), second + 1);
            QVERIFY2(now.time().msec() <= 20, qPrintable(now.toString(u"hh:mm:ss.zzz")));
            second = now.toSecsSinceEpoch();
            ++ticks;
        }
    }
};

QTEST_GUILESS_MAIN(TestAlarmTick)
#include "tst_alarmtick.moc"
