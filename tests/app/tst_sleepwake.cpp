// The program's side of waking for an alarm: the option "Budź komputer ze stanu uśpienia na
// alarm" in the options dialog, and the main form holding the lock on sleep while a clock-time
// alarm is armed, setting and clearing the wake time around a sleep, telling of an alarm slept
// through, and leaving nothing behind at Stop and at the end (recording platform).
#include "app/Application.h"
#include "platform/recording/RecordingPlatform.h"
#include "platform/recording/RecordingSleep.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "support/FakeClock.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;
using platform::Recorder;

class TestSleepWake : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::shared_ptr<Recorder> recorder;
    std::unique_ptr<platform::Platform> platform;
    test::FakeClock clock;
    std::unique_ptr<StoreFile> storeFile;
    std::unique_ptr<Application> app;

    platform::RecordingSleep &sleep()
    {
        return static_cast<platform::RecordingSleep &>(platform->sleep());
    }
    QCheckBox *wakeBox() { return app->options->findChild<QCheckBox *>(u"CheckBox7"_qs); }

    void armClockAlarm(QTime time)
    {
        ArmedAlarm &alarm = app->controller.alarm();
        alarm.Mode = ModeClock.toString();
        alarm.ActionKind = kinds::DefaultWindow.toString();
        alarm.Hour = time.hour();
        alarm.Minute = time.minute();
        alarm.Second = time.second();
        app->controller.startTick();
    }

    void pressOk()
    {
        QTest::mouseClick(app->options->findChild<QPushButton *>(u"SpeedButton1"_qs),
                          Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        qputenv("XDG_CONFIG_HOME", dir.filePath(u"config"_qs).toLocal8Bit());
    }

    void init()
    {
        recorder = std::make_shared<Recorder>();
        platform = platform::makeRecordingPlatform(recorder);
        storeFile = std::make_unique<StoreFile>(dir.filePath(u"settings.db"_qs));
        clock.set(QDateTime(QDate(2026, 12, 7), QTime(22, 0)));
        app = std::make_unique<Application>(*platform, *storeFile, clock,
                                            SeedingPaths::forProgram(dir.filePath(u"tockwell"_qs)));
        app->controller.setTrayProbe([] { return false; });
        app->start();
        recorder->clear();
    }

    void cleanup()
    {
        app.reset();
        storeFile.reset();
        QFile::remove(dir.filePath(u"settings.db"_qs));
    }

    void theOptionIsOnUntilTurnedOff_data()
    {
        QTest::addColumn<int>("storedType");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("missing") << int(regtype::None) << true;
        QTest::newRow("1") << int(regtype::Dword) << true;
        QTest::newRow("text \"0\" reads as the default") << int(regtype::Sz) << true;
    }
    void theOptionIsOnUntilTurnedOff()
    {
        QFETCH(int, storedType);
        QFETCH(bool, ticked);
        if (storedType != regtype::None) {
            Store store(*storeFile);
            store.openKey(keys::Base.toString());
            store.writeRaw(keys::WakeFromSleep.toString(), RawValue{storedType, u"0"_qs, 1, {}});
        }
        app->options->show();
        QCheckBox *box = wakeBox();
        QVERIFY(box);
        QCOMPARE(box->text(), u"Budź komputer ze stanu uśpienia na alarm"_qs);
        QCOMPARE(box->isChecked(), ticked);
        const QCheckBox *above = app->options->findChild<QCheckBox *>(u"CheckBox6"_qs);
        QVERIFY(box->y() > above->y());
        QCOMPARE(box->x(), above->x());
        QVERIFY(app->options->rect().contains(box->geometry()));
        QVERIFY(box->sizeHint().width() <= box->width());

        // Turned off: stored as REG_DWORD 0 and read by the armed alarm at once.
        box->setChecked(false);
        pressOk();
        Store store(*storeFile);
        store.openKey(keys::Base.toString());
        QCOMPARE(store.valueType(keys::WakeFromSleep.toString()), int(regtype::Dword));
        QCOMPARE(store.readInteger(keys::WakeFromSleep.toString()).value_or(-1), 0);
        QVERIFY(!app->controller.alarm().WakeFromSleep);
    }

    void aClockTimeAlarmAroundASleep()
    {
        const QString inhibit = u"InhibitSleep \"Tockwell\" \"Budzik ustawiony\" -> yes"_qs;
        armClockAlarm(QTime(7, 0));
        QCOMPARE(recorder->lines(),
                 (QStringList{u"WatchSleep -> yes"_qs, u"CanWake -> ok"_qs, inhibit}));

        recorder->clear();
        clock.set(QDateTime(QDate(2026, 12, 7), QTime(23, 0)));
        sleep().prepareForSleep(true);
        const qint64 wake = QDateTime(QDate(2026, 12, 8), QTime(6, 59)).toSecsSinceEpoch();
        QCOMPARE(recorder->lines(),
                 (QStringList{u"SetWakeTime %1 -> ok"_qs.arg(wake), u"ReleaseSleep"_qs}));

        // Woken at 7:10: the wake time goes, the lock comes back, and the user is told.
        recorder->clear();
        clock.set(QDateTime(QDate(2026, 12, 8), QTime(7, 10)));
        sleep().prepareForSleep(false);
        const QStringList lines = recorder->lines();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], u"ClearWakeTime -> ok"_qs);
        QCOMPARE(lines[1], inhibit);
        QVERIFY(lines[2].startsWith(u"MessageBox \"Alarm „Domyślne okno” miał zadziałać o godzinie "
                                    "07:00:00 (8.12.2026), ale komputer był wtedy uśpiony."_qs));
        QVERIFY(lines[2].endsWith(u"\"Przegapiony alarm\" 0x40 -> 1"_qs));
        QVERIFY(app->controller.isArmed());

        // Turned off in the options while armed: the lock is given back at once.
        recorder->clear();
        app->options->show();
        wakeBox()->setChecked(false);
        pressOk();
        // Showing asks for the autostart entry, OK removes it when it is the program's.
        QCOMPARE(recorder->lines(), (QStringList{u"AutostartActive -> no"_qs,
                                                 u"AutostartRemove -> ok"_qs, u"ReleaseSleep"_qs}));
        app->options->show();
        wakeBox()->setChecked(true);
        pressOk();
        QCOMPARE(recorder->lines().last(), inhibit);

        // Stop: nothing stays held.
        recorder->clear();
        app->controller.stopTick();
        QCOMPARE(recorder->lines(), QStringList{u"ReleaseSleep"_qs});
    }

    void countdownsAreLeftAlone()
    {
        ArmedAlarm &alarm = app->controller.alarm();
        alarm.Mode = ModeCountdown.toString();
        alarm.CountdownLeft = 100;
        app->controller.startTick();
        sleep().prepareForSleep(true);
        clock.set(QDateTime(QDate(2026, 12, 8), QTime(7, 10)));
        sleep().prepareForSleep(false);
        QCOMPARE(alarm.CountdownLeft, 100); // the resume is no tick
        QCOMPARE(recorder->lines(), QStringList{});
    }

    void theProgramsEndLeavesNothingHeld_data()
    {
        QTest::addColumn<bool>("asleep");
        QTest::addColumn<QStringList>("atClose");
        QTest::addColumn<QStringList>("atEnd");
        QTest::newRow("armed") << false << QStringList{u"ReleaseSleep"_qs} << QStringList{};
        // Ended between the announcements of the sleep and of the resume.
        QTest::newRow("about to sleep")
            << true << QStringList{} << QStringList{u"ClearWakeTime -> ok"_qs};
    }
    void theProgramsEndLeavesNothingHeld()
    {
        QFETCH(bool, asleep);
        QFETCH(QStringList, atClose);
        QFETCH(QStringList, atEnd);
        armClockAlarm(QTime(7, 0));
        if (asleep)
            sleep().prepareForSleep(true);
        recorder->clear();
        app->controller.close();
        QCOMPARE(recorder->lines(), atClose);
        recorder->clear();
        app.reset();
        QCOMPARE(recorder->lines(), atEnd);
    }
};

QTEST_MAIN(TestSleepWake)
#include "tst_sleepwake.moc"
