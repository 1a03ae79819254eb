// Waking for a clock-time alarm and telling of one that a sleep swallowed: the clock-time
// arithmetic across summer-time changes, the tick's skipped seconds, and AlarmWake on the
// recording platform with a clock that the test sets. Local time is Europe/Warsaw.
#include "core/ArmedAlarm.h"
#include "engine/AlarmTick.h"
#include "engine/AlarmWake.h"
#include "engine/ClockTime.h"
#include "platform/recording/RecordingSleep.h"
#include "support/FakeClock.h"

#include <QTest>

#include <ctime>

using namespace tockwell;
using platform::Recorder;
using tockwell::test::FakeClock;

namespace {

qint64 at(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s)).toSecsSinceEpoch();
}

QDateTime local(qint64 second)
{
    return QDateTime::fromSecsSinceEpoch(second);
}

ArmedAlarm clockAlarm(QTime time)
{
    ArmedAlarm alarm;
    alarm.Mode = ModeClock.toString();
    alarm.ActionKind = kinds::Message.toString();
    alarm.Hour = time.hour();
    alarm.Minute = time.minute();
    alarm.Second = time.second();
    return alarm;
}

} // namespace

class TestAlarmWake : public QObject
{
    Q_OBJECT

    // One world per test: the recorded platform, the clock, the alarm, the tick and the notices.
    std::shared_ptr<Recorder> m_recorder;
    std::unique_ptr<platform::RecordingSleep> m_sleep;
    std::unique_ptr<platform::RecordingWakeAlarm> m_wakeAlarm;
    std::unique_ptr<FakeClock> m_clock;
    ArmedAlarm m_alarm;
    std::unique_ptr<AlarmTick> m_tick;
    std::unique_ptr<AlarmWake> m_wake;
    QStringList m_notices;

    void makeWorld(const QDateTime &now, bool logind = true)
    {
        m_recorder = std::make_shared<Recorder>();
        m_sleep = std::make_unique<platform::RecordingSleep>(m_recorder);
        m_wakeAlarm = std::make_unique<platform::RecordingWakeAlarm>(m_recorder);
        m_clock = std::make_unique<FakeClock>(now);
        m_tick = std::make_unique<AlarmTick>(*m_clock);
        m_notices.clear();
        m_wake = std::make_unique<AlarmWake>(*m_sleep, *m_wakeAlarm, *m_clock, m_alarm,
                                             [this](const QString &title, const QString &text) {
                                                 m_notices << title + u": "_qs + text;
                                             });
        if (!logind)
            m_recorder->script(u"WatchSleep"_qs, u"no"_qs);
        m_wake->watch([this] { tickOnce(); });
        m_recorder->clear();
    }

    void arm(QTime time)
    {
        m_alarm = clockAlarm(time);
        m_tick->reset();
        m_wake->armed();
        tickOnce();
    }

    /// What the main form does on every tick; whether the alarm fired.
    bool tickOnce()
    {
        const bool due = m_tick->tick(m_alarm);
        const bool late = m_wake->ticked(m_tick->skipped());
        if (late)
            m_tick->firedAt(*m_tick->skipped());
        return due || late;
    }

private slots:
    void initTestCase()
    {
        qputenv("TZ", "Europe/Warsaw");
        tzset();
        QCOMPARE(QDateTime(QDate(2026, 1, 10), QTime(12, 0)).offsetFromUtc(), 3600);
        QCOMPARE(QDateTime(QDate(2026, 7, 10), QTime(12, 0)).offsetFromUtc(), 7200);
    }

    void cleanup()
    {
        m_wake.reset();
        m_alarm = ArmedAlarm{};
    }

    void clockTimeMomentsAcrossSummerTime_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QList<qint64>>("moments");
        const QDate spring(2026, 3, 29), autumn(2026, 10, 25);
        const qint64 springNoon = QDateTime(spring, QTime(12, 0), Qt::UTC).toSecsSinceEpoch();
        const qint64 autumnMidnightUtc = QDateTime(autumn, QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
        QTest::newRow("winter") << QDate(2026, 1, 10) << QTime(7, 0)
                                << QList<qint64>{at(2026, 1, 10, 7, 0)};
        QTest::newRow("spring day, after the change")
            << spring << QTime(14, 0) << QList<qint64>{springNoon};
        QTest::newRow("spring day, the skipped hour") << spring << QTime(2, 30) << QList<qint64>{};
        QTest::newRow("spring day, before the change")
            << spring << QTime(1, 59, 59)
            << QList<qint64>{QDateTime(spring, QTime(0, 59, 59), Qt::UTC).toSecsSinceEpoch()};
        // 02:30 comes twice: first in summer time (UTC 00:30), then in winter time (UTC 01:30).
        QTest::newRow("autumn day, the repeated hour")
            << autumn << QTime(2, 30)
            << QList<qint64>{autumnMidnightUtc + 1800, autumnMidnightUtc + 5400};
    }
    void clockTimeMomentsAcrossSummerTime()
    {
        QFETCH(QDate, day);
        QFETCH(QTime, time);
        QFETCH(QList<qint64>, moments);
        QCOMPARE(clockTimeMoments(day, time), moments);
    }

    void nextAndLastClockTime()
    {
        const QTime seven(7, 0);
        QCOMPARE(nextClockTime(at(2026, 12, 7, 6, 59, 59), seven), at(2026, 12, 7, 7, 0));
        // The alarm's own second is not "next": it is happening now.
        QCOMPARE(nextClockTime(at(2026, 12, 7, 7, 0), seven), at(2026, 12, 8, 7, 0));
        QCOMPARE(nextClockTime(at(2026, 12, 31, 23, 0), seven), at(2027, 1, 1, 7, 0));
        // A time that the change to summer time skips comes the next day.
        QCOMPARE(nextClockTime(at(2026, 3, 29, 1, 0), QTime(2, 30)), at(2026, 3, 30, 2, 30));
        // A repeated time comes first in summer time.
        const qint64 firstTwoThirty =
            QDateTime(QDate(2026, 10, 25), QTime(0, 30), Qt::UTC).toSecsSinceEpoch();
        QCOMPARE(nextClockTime(at(2026, 10, 25, 1, 0), QTime(2, 30)), firstTwoThirty);
        QCOMPARE(nextClockTime(firstTwoThirty, QTime(2, 30)), firstTwoThirty + 3600);

        QCOMPARE(lastClockTime(at(2026, 12, 7, 7, 0), seven), at(2026, 12, 6, 7, 0));
        QCOMPARE(lastClockTime(at(2026, 12, 7, 7, 0, 1), seven), at(2026, 12, 7, 7, 0));
    }

    void wakeMomentIsAMinuteBeforeTheAlarm_data()
    {
        QTest::addColumn<qint64>("now");
        QTest::addColumn<QTime>("alarmAt");
        QTest::addColumn<qint64>("wakeAt");
        QTest::newRow("later today")
            << at(2026, 12, 7, 22, 0) << QTime(23, 30) << at(2026, 12, 7, 23, 29);
        QTest::newRow("tomorrow") << at(2026, 12, 7, 23, 0) << QTime(7, 0)
                                  << at(2026, 12, 8, 6, 59);
        QTest::newRow("night of the change to summer time")
            << at(2026, 3, 28, 23, 0) << QTime(7, 0) << at(2026, 3, 29, 6, 59);
        QTest::newRow("night of the change to winter time")
            << at(2026, 10, 24, 23, 0) << QTime(7, 0) << at(2026, 10, 25, 6, 59);
        QTest::newRow("alarm in 30 s: as soon as may be")
            << at(2026, 12, 7, 6, 59, 30) << QTime(7, 0) << at(2026, 12, 7, 6, 59, 40);
    }
    void wakeMomentIsAMinuteBeforeTheAlarm()
    {
        QFETCH(qint64, now);
        QFETCH(QTime, alarmAt);
        QFETCH(qint64, wakeAt);
        QCOMPARE(AlarmWake::wakeMoment(now, alarmAt), wakeAt);
    }

    void theTickTellsWhichAlarmSecondItSkipped()
    {
        FakeClock fake(local(at(2026, 12, 7, 6, 59, 58)));
        AlarmTick t(fake);
        ArmedAlarm a = clockAlarm(QTime(7, 0));
        t.tick(a);
        fake.advance(1000);
        QVERIFY(!t.tick(a));
        QVERIFY(!t.skipped()); // no gap
        fake.advance(3600 * 1000);
        QVERIFY(!t.tick(a));
        QCOMPARE(t.skipped(), at(2026, 12, 7, 7, 0));
        fake.advance(1000);
        t.tick(a);
        QVERIFY(!t.skipped()); // told once
        // A gap without the alarm's second in it skips nothing.
        fake.advance(3600 * 1000);
        t.tick(a);
        QVERIFY(!t.skipped());
        // A countdown skips nothing.
        ArmedAlarm d;
        d.Mode = ModeCountdown.toString();
        d.CountdownLeft = 5;
        fake.advance(24 * 3600 * 1000);
        t.tick(d);
        QVERIFY(!t.skipped());
    }

    void theWholeRoundOfASleep()
    {
        makeWorld(local(at(2026, 12, 7, 22, 0)));
        arm(QTime(7, 0));
        QCOMPARE(m_recorder->lines(),
                 (QStringList{u"WatchSleep -> yes"_qs, u"CanWake -> ok"_qs,
                              u"InhibitSleep \"Tockwell\" \"Budzik ustawiony\" -> yes"_qs}));
        QVERIFY(m_wake->holdsSleep());

        m_recorder->clear();
        m_clock->set(local(at(2026, 12, 7, 23, 15)));
        m_sleep->prepareForSleep(true);
        QCOMPARE(m_recorder->lines(),
                 (QStringList{u"SetWakeTime %1 -> ok"_qs.arg(at(2026, 12, 8, 6, 59)),
                              u"ReleaseSleep"_qs}));

        // Woken by the clock a minute early: no notice, the alarm fires at its second.
        m_recorder->clear();
        m_clock->set(local(at(2026, 12, 8, 6, 59, 0)));
        m_sleep->prepareForSleep(false);
        QCOMPARE(m_recorder->lines(),
                 (QStringList{u"ClearWakeTime -> ok"_qs,
                              u"InhibitSleep \"Tockwell\" \"Budzik ustawiony\" -> yes"_qs}));
        QVERIFY(m_notices.isEmpty());
        int fired = 0;
        for (int second = 0; second < 120; ++second) {
            m_clock->advance(1000);
            fired += tickOnce();
        }
        QCOMPARE(fired, 1);
        QVERIFY(m_notices.isEmpty());

        m_recorder->clear();
        m_wake->disarmed();
        QCOMPARE(m_recorder->lines(), QStringList{u"ReleaseSleep"_qs});
        QVERIFY(!m_wake->holdsSleep());
    }

    void aResumeAfterTheAlarmsSecondIsToldOnce_data()
    {
        QTest::addColumn<bool>("logind");
        QTest::addColumn<bool>("tickBeforeResume");
        QTest::newRow("logind, resume heard first") << true << false;
        QTest::newRow("logind, a tick first") << true << true;
        QTest::newRow("no logind: the wall clock jumped") << false << true;
    }
    void aResumeAfterTheAlarmsSecondIsToldOnce()
    {
        QFETCH(bool, logind);
        QFETCH(bool, tickBeforeResume);
        makeWorld(local(at(2026, 12, 7, 6, 0)), logind);
        arm(QTime(7, 0));
        if (logind)
            m_sleep->prepareForSleep(true);
        m_clock->set(local(at(2026, 12, 7, 7, 30, 0)));
        if (tickBeforeResume)
            QVERIFY(!tickOnce());
        if (logind)
            m_sleep->prepareForSleep(false);
        for (int second = 0; second < 5; ++second) {
            m_clock->advance(1000);
            QVERIFY(!tickOnce());
        }
        QCOMPARE(m_notices.size(), 1);
        QCOMPARE(m_notices.first(),
                 u"Przegapiony alarm: Alarm „Komunikat” miał zadziałać o godzinie 07:00:00 "
                 "(7.12.2026), ale komputer był wtedy uśpiony. Alarm pozostaje ustawiony na "
                 "godzinę 07:00:00."_qs);
        // Still armed: the next day it fires.
        m_clock->set(local(at(2026, 12, 8, 6, 59, 59)));
        tickOnce();
        m_clock->advance(1000);
        QVERIFY(tickOnce());
    }

    void aClockSetForwardPastTheAlarm_data()
    {
        QTest::addColumn<bool>("logind");
        QTest::addColumn<QTime>("jumpTo");
        QTest::addColumn<bool>("firesLate");
        QTest::addColumn<QString>("told");
        const QString jumped = u"Przegapiony alarm: Alarm „Komunikat” miał zadziałać o godzinie "
                               "07:00:00 (7.12.2026), ale zegar komputera został wtedy "
                               "przestawiony do przodu. Alarm pozostaje ustawiony na godzinę "
                               "07:00:00."_qs;
        const QString slept = u"Przegapiony alarm: Alarm „Komunikat” miał zadziałać o godzinie "
                              "07:00:00 (7.12.2026), ale komputer był wtedy uśpiony. Alarm "
                              "pozostaje ustawiony na godzinę 07:00:00."_qs;
        QTest::newRow("logind, 30 s past") << true << QTime(7, 0, 30) << true << QString();
        QTest::newRow("logind, 60 s past") << true << QTime(7, 1, 0) << true << QString();
        QTest::newRow("logind, 61 s past") << true << QTime(7, 1, 1) << false << jumped;
        QTest::newRow("logind, half an hour past") << true << QTime(7, 30) << false << jumped;
        // Without logind a sleep looks the same: the notice says the computer slept.
        QTest::newRow("no logind, 30 s past") << false << QTime(7, 0, 30) << true << QString();
        QTest::newRow("no logind, 61 s past") << false << QTime(7, 1, 1) << false << slept;
    }
    void aClockSetForwardPastTheAlarm()
    {
        QFETCH(bool, logind);
        QFETCH(QTime, jumpTo);
        QFETCH(bool, firesLate);
        QFETCH(QString, told);
        makeWorld(local(at(2026, 12, 7, 6, 59, 50)), logind);
        arm(QTime(7, 0));
        m_clock->set(jumpTo);
        QCOMPARE(tickOnce(), firesLate);
        QCOMPARE(m_notices, told.isEmpty() ? QStringList{} : QStringList{told});
        // Once: the seconds after the jump neither fire nor tell again.
        for (int second = 0; second < 5; ++second) {
            m_clock->advance(1000);
            QVERIFY(!tickOnce());
        }
        QCOMPARE(m_notices.size(), told.isEmpty() ? 0 : 1);
    }

    void aClockSetBackFiresNoAlarmTwice_data()
    {
        QTest::addColumn<QTime>("firedAt");
        QTest::newRow("on its second") << QTime(7, 0);
        QTest::newRow("late, after a jump") << QTime(7, 0, 30);
    }
    void aClockSetBackFiresNoAlarmTwice()
    {
        QFETCH(QTime, firedAt);
        makeWorld(local(at(2026, 12, 7, 6, 59, 59)));
        arm(QTime(7, 0));
        m_clock->set(firedAt);
        QVERIFY(tickOnce());
        // Re-armed for a repeat, then the clock goes back a minute and over 7:00 again.
        m_tick->reset();
        m_wake->armed();
        m_clock->set(QTime(6, 59, 30));
        int fired = 0;
        for (int second = 0; second < 90; ++second) {
            fired += tickOnce();
            m_clock->advance(1000);
        }
        QCOMPARE(fired, 0);
        QVERIFY(m_notices.isEmpty());
        // The next day it fires again.
        m_clock->set(local(at(2026, 12, 8, 6, 59, 59)));
        tickOnce();
        m_clock->advance(1000);
        QVERIFY(tickOnce());
    }

    void aSleepThatEndedBeforeTheAlarmIsNotTold()
    {
        makeWorld(local(at(2026, 12, 7, 6, 0)));
        arm(QTime(7, 0));
        m_sleep->prepareForSleep(true);
        m_clock->set(local(at(2026, 12, 7, 6, 40)));
        m_sleep->prepareForSleep(false);
        tickOnce();
        QVERIFY(m_notices.isEmpty());
    }

    void aSleepAfterTheEndIsNotHeard()
    {
        makeWorld(local(at(2026, 12, 7, 22, 0)));
        arm(QTime(7, 0));
        m_wake.reset();
        m_recorder->clear();
        m_sleep->prepareForSleep(true); // the platform keeps the listener; it must do nothing
        m_sleep->prepareForSleep(false);
        QCOMPARE(m_recorder->lines(), QStringList{});
    }

    void countdownsAndTheOptionOffUseNoLockAndNoWakeTime()
    {
        makeWorld(local(at(2026, 12, 7, 22, 0)));
        m_alarm.Mode = ModeCountdown.toString();
        m_alarm.CountdownLeft = 600;
        m_wake->armed();
        m_sleep->prepareForSleep(true);
        m_sleep->prepareForSleep(false);
        m_wake->disarmed();
        QCOMPARE(m_recorder->lines(), QStringList{});

        m_alarm = clockAlarm(QTime(7, 0));
        m_alarm.WakeFromSleep = false;
        m_wake->armed();
        m_sleep->prepareForSleep(true);
        m_sleep->prepareForSleep(false);
        // Sleep is watched for the missed-alarm notice, but neither lock nor wake time is used.
        QCOMPARE(m_recorder->lines(), QStringList{u"WatchSleep -> yes"_qs});

        // Switched on while armed: the lock is taken at once; off again: given back.
        m_alarm.WakeFromSleep = true;
        m_wake->optionsChanged();
        QVERIFY(m_wake->holdsSleep());
        m_alarm.WakeFromSleep = false;
        m_wake->optionsChanged();
        QVERIFY(!m_wake->holdsSleep());
        QCOMPARE(m_recorder->lines().last(), u"ReleaseSleep"_qs);
    }

    void withoutHelperOrPolkitTheAlarmArmsAndTheUserIsToldOnce()
    {
        makeWorld(local(at(2026, 12, 7, 22, 0)));
        m_recorder->script(u"CanWake"_qs, u"error 2 The system cannot find the file specified."_qs);
        m_recorder->script(u"CanWake"_qs, u"error 5 Access is denied."_qs);
        arm(QTime(7, 0));
        arm(QTime(8, 0));
        m_sleep->prepareForSleep(true);
        m_sleep->prepareForSleep(false);
        QCOMPARE(m_recorder->lines(),
                 (QStringList{u"WatchSleep -> yes"_qs,
                              u"CanWake -> error 2 The system cannot find the file specified."_qs,
                              u"CanWake -> error 5 Access is denied."_qs}));
        QCOMPARE(m_notices.size(), 1);
        QVERIFY(m_notices.first().startsWith(
            u"Tockwell: Tockwell nie może wybudzić komputera ze stanu uśpienia"_qs));
    }

    void aRefusedWakeTimeIsToldOnceAndClearedAtStop()
    {
        makeWorld(local(at(2026, 12, 7, 22, 0)));
        arm(QTime(7, 0));
        m_recorder->script(u"SetWakeTime"_qs,
                           u"error 1223 The operation was canceled by the user."_qs);
        m_recorder->script(u"ClearWakeTime"_qs, u"error 5 Access is denied."_qs);
        m_sleep->prepareForSleep(true);
        QCOMPARE(m_notices.size(), 1);
        m_sleep->prepareForSleep(false);
        m_recorder->clear();
        // The clearing after the resume was refused: Stop tries again.
        m_wake->disarmed();
        QCOMPARE(m_recorder->lines(), (QStringList{u"ReleaseSleep"_qs, u"ClearWakeTime -> ok"_qs}));
        m_recorder->clear();
        m_wake->disarmed();
        QCOMPARE(m_recorder->lines(), QStringList{});
        QCOMPARE(m_notices.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestAlarmWake)
#include "tst_alarmwake.moc"
