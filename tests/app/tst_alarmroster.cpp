// Several alarms of the program (recording platform, fake clock, a store in a temporary folder):
// what a start makes of the alarms the store kept, alarms of one second firing in the order of
// arming with the program's options, the tray naming them, and the snooze.
#include "app/AlarmSlot.h"
#include "app/Application.h"
#include "app/TrayIcon.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/ArmedAlarmStore.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "support/FakeClock.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;
using platform::Recorder;

namespace {

const QDateTime Evening(QDate(2026, 12, 7), QTime(22, 0));

ArmedAlarm webPageAt(QTime time, const QString &address)
{
    ArmedAlarm alarm;
    alarm.Mode = ModeClock.toString();
    alarm.ActionKind = kinds::OpenWebPage.toString();
    alarm.MainParam = address;
    alarm.Hour = time.hour();
    alarm.Minute = time.minute();
    alarm.Second = time.second();
    return alarm;
}

armed::StoredAlarm stored(int number, ArmedAlarm alarm, const QDateTime &armedAt)
{
    return {.number = number, .alarm = std::move(alarm), .armedAt = armedAt.toUTC()};
}

} // namespace

Q_DECLARE_METATYPE(armed::StoredAlarm)

class TestAlarmRoster : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::shared_ptr<Recorder> m_recorder;
    std::unique_ptr<platform::Platform> m_platform;
    test::FakeClock m_clock;
    std::unique_ptr<StoreFile> m_storeFile;
    std::unique_ptr<Application> m_app;

    void startProgram()
    {
        m_app =
            std::make_unique<Application>(*m_platform, *m_storeFile, m_clock,
                                          SeedingPaths::forProgram(m_dir.filePath(u"tockwell"_qs)));
        m_app->controller.setTrayProbe([] { return false; }); // notices as message boxes
        m_app->start();
    }
    AlarmRoster &roster() { return m_app->controller.roster(); }
    TrayIcon &tray() { return *m_app->controller.findChild<TrayIcon *>(u"Tray"_qs); }
    QStringList notices() const { return m_recorder->lines().filter(u"MessageBox"_qs); }
    QStringList storedAddresses()
    {
        QStringList addresses;
        for (const armed::StoredAlarm &each : armed::readAlarms(*m_storeFile).alarms)
            addresses << each.alarm.MainParam;
        return addresses;
    }
    /// Arms `alarm` in a new window, as its Start would.
    AlarmSlot &arm(const ArmedAlarm &alarm)
    {
        AlarmSlot *slot = roster().newSlot();
        slot->alarm() = alarm;
        slot->startTick();
        return *slot;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(u"config"_qs).toLocal8Bit());
    }

    void init()
    {
        m_recorder = std::make_shared<Recorder>();
        m_platform = platform::makeRecordingPlatform(m_recorder);
        m_storeFile = std::make_unique<StoreFile>(m_dir.filePath(u"settings.db"_qs));
        m_clock.set(Evening);
    }

    void cleanup()
    {
        m_app.reset();
        m_storeFile.reset();
        QFile::remove(m_dir.filePath(u"settings.db"_qs));
    }

    void aStartTakesBackWhatTheStoreKept_data()
    {
        QTest::addColumn<armed::StoredAlarm>("kept");
        QTest::addColumn<QDateTime>("startedAt");
        QTest::addColumn<bool>("armed");
        QTest::addColumn<QString>("told");

        const ArmedAlarm seven = webPageAt(QTime(7, 0), u"www.example.pl/7"_qs);
        QTest::newRow("a clock time still ahead")
            << stored(1, seven, Evening) << Evening.addSecs(3600) << true << QString();
        QTest::newRow("a clock time passed while the program was away")
            << stored(1, seven, Evening) << Evening.addSecs(10 * 3600) << true
            << u"Alarm „Uruchom stronę WWW” miał zadziałać o godzinie 07:00:00 (8.12.2026), "
               "ale program wtedy nie działał. Alarm pozostaje ustawiony na godzinę 07:00:00."_qs;
        ArmedAlarm repeating = seven;
        repeating.RepeatSeconds = 1;
        QTest::newRow("a repeating alarm that fired before the end")
            << stored(1, repeating, QDateTime(QDate(2026, 12, 8), QTime(7, 0)))
            << Evening.addSecs(10 * 3600) << true << QString();
        ArmedAlarm countdown;
        countdown.Mode = ModeCountdown.toString();
        countdown.ActionKind = kinds::Message.toString();
        countdown.MainParam = joinMessageParam(u"Spotkanie"_qs, u"Już czas"_qs);
        countdown.CountdownLeft = 252;
        QTest::newRow("a countdown")
            << stored(2, countdown, Evening) << Evening.addSecs(60) << false
            << u"Odliczanie „Komunikat: Spotkanie” (zostało 0:04:12) przepadło"_qs;
    }

    void aStartTakesBackWhatTheStoreKept()
    {
        QFETCH(armed::StoredAlarm, kept);
        QFETCH(QDateTime, startedAt);
        QFETCH(bool, armed);
        QFETCH(QString, told);
        armed::writeAlarm(*m_storeFile, kept);
        m_clock.set(startedAt);
        startProgram();
        // The first window shows the first of them, armed.
        QCOMPARE(m_app->controller.firstAlarm().isArmed(), armed);
        QCOMPARE(storedAddresses(), armed ? QStringList{kept.alarm.MainParam} : QStringList{});
        if (told.isEmpty())
            QVERIFY2(notices().isEmpty(), qPrintable(notices().join(u'\n')));
        else
            QVERIFY2(notices().size() == 1 && notices().front().contains(told),
                     qPrintable(notices().join(u'\n')));
    }

    void aDamagedEntryIsToldAndTheOthersLoad()
    {
        armed::writeAlarm(*m_storeFile, stored(1, webPageAt(QTime(7, 0), u"a"_qs), Evening));
        Store store(*m_storeFile);
        store.openKey(keys::under(u"Armed\\3"));
        store.writeString(u"Mode", u"X"_qs);
        startProgram();
        QCOMPARE(roster().armedSlots().size(), std::size_t(1));
        QCOMPARE(notices().size(), 1);
        QVERIFY2(notices().front().contains(u"„Armed\\\\3”"_qs), qPrintable(notices().front()));
        // Its number is not given to another alarm, and the entry stays.
        QCOMPARE(arm(webPageAt(QTime(8, 0), u"b"_qs)).number(), 2);
        QVERIFY(Store(*m_storeFile).keyExists(keys::under(u"Armed\\3")));
    }

    void anAlarmThatFindsNoWindowIsToldAndKept()
    {
        startProgram();
        while (roster().newSlot()) {
        }
        QCOMPARE(roster().slotCount(), std::size_t(AlarmRoster::MaxSlots));
        armed::writeAlarm(*m_storeFile, stored(5, webPageAt(QTime(7, 0), u"a"_qs), Evening));
        roster().reload();
        QVERIFY(roster().armedSlots().empty());
        QCOMPARE(notices().size(), 1);
        QVERIFY2(notices().front().contains(u"„Armed\\\\5” nie można teraz ustawić"_qs),
                 qPrintable(notices().front()));
        QCOMPARE(storedAddresses(), QStringList{u"a"_qs});
    }

    void alarmsOfOneSecondFireInTheOrderOfArmingWithTheOptions()
    {
        startProgram();
        m_app->controller.options().MinimizeAll = true;
        arm(webPageAt(QTime(23, 0), u"one"_qs));
        arm(webPageAt(QTime(23, 0), u"two"_qs));
        m_recorder->clear();
        m_clock.set(QTime(23, 0));
        roster().lookAtClockAlarms();
        const QStringList fired = m_recorder->lines().filter(
            QRegularExpression(u"^(ShellOpen \"(one|two)\"|MinimizeAllWindows)"_qs));
        QCOMPARE(fired.size(), 4);
        QVERIFY(fired[0].startsWith(u"MinimizeAllWindows"_qs));
        QVERIFY(fired[1].startsWith(u"ShellOpen \"one\""_qs));
        QVERIFY(fired[3].startsWith(u"ShellOpen \"two\""_qs));
        QVERIFY(roster().armedSlots().empty());
        QVERIFY(storedAddresses().isEmpty());
    }

    void popupsOfOverlappingAlarmsStackUpwards()
    {
        startProgram();
        ArmedAlarm popup = webPageAt(QTime(23, 0), QString());
        popup.ActionKind = kinds::DefaultWindow.toString();
        const AlarmSlot &lower = arm(popup);
        const AlarmSlot &upper = arm(popup);
        m_clock.set(QTime(23, 0));
        roster().lookAtClockAlarms();
        QVERIFY(lower.shownPopup() && upper.shownPopup());
        QCOMPARE(upper.shownPopup()->geometry().bottom() + 1, lower.shownPopup()->y());
        QCOMPARE(upper.shownPopup()->x(), lower.shownPopup()->x());
    }

    void anotherWindowsSoundPlaysOnUntilTheTrayClickStopsIt()
    {
        startProgram();
        ArmedAlarm sound = webPageAt(QTime(23, 0), m_dir.filePath(u"alarm.wav"_qs));
        sound.ActionKind = kinds::PlaySound.toString();
        arm(sound);
        m_clock.set(QTime(23, 0));
        roster().lookAtClockAlarms();
        QVERIFY(m_recorder->lines().contains(u"MediaPlay"_qs));
        // Disarmed and hidden, the window stays while its sound plays.
        QCoreApplication::processEvents();
        QCOMPARE(roster().slotCount(), std::size_t(2));
        m_app->controller.toggleSetupWindow();
        QVERIFY(m_recorder->lines().contains(u"MediaStop"_qs));
        QTRY_COMPARE(roster().slotCount(), std::size_t(1));
    }

    void theTrayNamesTheArmedAlarmsSoonestFirst()
    {
        startProgram();
        arm(webPageAt(QTime(23, 30), u"www.example.pl"_qs));
        ArmedAlarm countdown;
        countdown.Mode = ModeCountdown.toString();
        countdown.ActionKind = kinds::DefaultWindow.toString();
        countdown.CountdownLeft = 252;
        arm(countdown);
        QCOMPARE(tray().toolTip(),
                 u"Kestrolab Tockwell\nNastępny alarm: Domyślne okno o 22:04:12"_qs);
        QMenu &menu = tray().alarmsMenu();
        QVERIFY(menu.menuAction()->isVisible());
        emit menu.aboutToShow();
        QStringList lines;
        for (const QAction *line : menu.actions())
            lines << line->text();
        QCOMPARE(lines, (QStringList{u"za 0:04:12 — Domyślne okno"_qs,
                                     u"23:30:00 — Uruchom stronę WWW: www.example.pl"_qs}));
    }

    void theSnoozeArmsTheSameActionAgainAndKeepsTheSettings()
    {
        startProgram();
        ArmedAlarm popup = webPageAt(QTime(22, 0, 5), QString());
        popup.ActionKind = kinds::DefaultWindow.toString();
        arm(popup);
        const QString lastAction = [this] {
            Store base(*m_storeFile);
            base.openKey(keys::Base);
            return base.readString(keys::LastAction).value_or(QString());
        }();
        m_clock.set(QTime(22, 0, 5));
        roster().lookAtClockAlarms();
        QMenu &snooze = tray().snoozeMenu();
        QVERIFY(snooze.menuAction()->isVisible());
        snooze.findChild<QAction *>(u"Drzemka10"_qs)->trigger();
        QVERIFY(!snooze.menuAction()->isVisible());
        const std::vector<AlarmSlot *> armed = roster().armedSlots();
        QCOMPARE(armed.size(), std::size_t(1));
        QVERIFY(armed.front()->isSnooze());
        QCOMPARE(armed.front()->alarm().CountdownLeft, 600);
        QCOMPARE(armed.front()->menuLine(m_clock.now()), u"drzemka: za 0:10:00 — Domyślne okno"_qs);
        const auto kept = armed::readAlarms(*m_storeFile).alarms;
        QVERIFY(kept.size() == 1 && kept.front().snooze);
        Store base(*m_storeFile);
        base.openKey(keys::Base);
        QCOMPARE(base.readString(keys::LastAction).value_or(QString()), lastAction);
    }
};

QTEST_MAIN(TestAlarmRoster)
#include "tst_alarmroster.moc"
