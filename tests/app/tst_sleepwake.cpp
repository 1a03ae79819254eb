// The program's side of waking for an alarm: the option "Budź komputer ze stanu uśpienia na
// alarm" in the options dialog, and the main form holding the lock on sleep while a clock-time
// alarm is armed, setting and clearing the wake time around a sleep, telling of an alarm slept
// through, and leaving nothing behind at Stop and at the end (recording platform).
#include "app/AlarmSlot.h"
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

    QTemporaryDir m_dir;
    std::shared_ptr<Recorder> m_recorder;
    std::unique_ptr<platform::Platform> m_platform;
    test::FakeClock m_clock;
    std::unique_ptr<StoreFile> m_storeFile;
    std::unique_ptr<Application> m_app;

    platform::RecordingSleep &sleep()
    {
        return static_cast<platform::RecordingSleep &>(m_platform->sleep());
    }
    QCheckBox *wakeBox() { return m_app->options->findChild<QCheckBox *>(u"CheckBox7"_qs); }

    void armClockAlarm(QTime time)
    {
        ArmedAlarm &alarm = m_app->controller.firstAlarm().alarm();
        alarm.Mode = ModeClock.toString();
        alarm.ActionKind = kinds::DefaultWindow.toString();
        alarm.Hour = time.hour();
        alarm.Minute = time.minute();
        alarm.Second = time.second();
        m_app->controller.firstAlarm().startTick();
    }

    void pressOk()
    {
        QTest::mouseClick(m_app->options->findChild<QPushButton *>(u"SpeedButton1"_qs),
                          Qt::LeftButton);
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
        m_clock.set(QDateTime(QDate(2026, 12, 7), QTime(22, 0)));
        m_app =
            std::make_unique<Application>(*m_platform, *m_storeFile, m_clock,
                                          SeedingPaths::forProgram(m_dir.filePath(u"tockwell"_qs)));
        m_app->controller.setTrayProbe([] { return false; });
        m_app->start();
        m_recorder->clear();
    }

    void cleanup()
    {
        m_app.reset();
        m_storeFile.reset();
        QFile::remove(m_dir.filePath(u"settings.db"_qs));
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
            Store store(*m_storeFile);
            store.openKey(keys::Base);
            store.writeRaw(keys::WakeFromSleep, RawValue{storedType, u"0"_qs, 1, {}});
        }
        m_app->options->show();
        QCheckBox *box = wakeBox();
        QVERIFY(box);
        QCOMPARE(box->text(), u"Budź komputer ze stanu uśpienia na alarm"_qs);
        QCOMPARE(box->isChecked(), ticked);
        const QCheckBox *above = m_app->options->findChild<QCheckBox *>(u"CheckBox6"_qs);
        QVERIFY(box->y() > above->y());
        QCOMPARE(box->x(), above->x());
        QVERIFY(m_app->options->rect().contains(box->geometry()));
        QVERIFY(box->sizeHint().width() <= box->width());

        // Turned off: stored as REG_DWORD 0 and read by the armed alarm at once.
        box->setChecked(false);
        pressOk();
        Store store(*m_storeFile);
        store.openKey(keys::Base);
        QCOMPARE(store.valueType(keys::WakeFromSleep), int(regtype::Dword));
        QCOMPARE(store.readInteger(keys::WakeFromSleep).value_or(-1), 0);
        QVERIFY(!m_app->controller.options().WakeFromSleep);
    }

    void aClockTimeAlarmAroundASleep()
    {
        const QString inhibit = u"InhibitSleep \"Tockwell\" \"Budzik ustawiony\" -> yes"_qs;
        armClockAlarm(QTime(7, 0));
        QCOMPARE(m_recorder->lines(),
                 (QStringList{u"WatchSleep -> yes"_qs, u"CanWake -> ok"_qs, inhibit}));

        m_recorder->clear();
        m_clock.set(QDateTime(QDate(2026, 12, 7), QTime(23, 0)));
        sleep().prepareForSleep(true);
        const qint64 wake = QDateTime(QDate(2026, 12, 8), QTime(6, 59)).toSecsSinceEpoch();
        QCOMPARE(m_recorder->lines(),
                 (QStringList{u"SetWakeTime %1 -> ok"_qs.arg(wake), u"ReleaseSleep"_qs}));

        // Woken at 7:10: the wake time goes, the lock comes back, and the user is told.
        m_recorder->clear();
        m_clock.set(QDateTime(QDate(2026, 12, 8), QTime(7, 10)));
        sleep().prepareForSleep(false);
        const QStringList lines = m_recorder->lines();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], u"ClearWakeTime -> ok"_qs);
        QCOMPARE(lines[1], inhibit);
        QVERIFY(lines[2].startsWith(u"MessageBox \"Alarm „Domyślne okno” miał zadziałać o godzinie "
                                    "07:00:00 (8.12.2026), ale komputer był wtedy uśpiony."_qs));
        QVERIFY(lines[2].endsWith(u"\"Przegapiony alarm\" 0x40 -> 1"_qs));
        QVERIFY(m_app->controller.firstAlarm().isArmed());

        // Turned off in the options while armed: the lock is given back at once.
        m_recorder->clear();
        m_app->options->show();
        wakeBox()->setChecked(false);
        pressOk();
        // Showing asks for the autostart entry, OK removes it when it is the program's.
        QCOMPARE(m_recorder->lines(),
                 (QStringList{u"AutostartActive -> no"_qs, u"AutostartRemove -> ok"_qs,
                              u"ReleaseSleep"_qs}));
        m_app->options->show();
        wakeBox()->setChecked(true);
        pressOk();
        QCOMPARE(m_recorder->lines().last(), inhibit);

        // Stop: nothing stays held.
        m_recorder->clear();
        m_app->controller.firstAlarm().stopTick();
        QCOMPARE(m_recorder->lines(), QStringList{u"ReleaseSleep"_qs});
    }

    void countdownsAreLeftAlone()
    {
        ArmedAlarm &alarm = m_app->controller.firstAlarm().alarm();
        alarm.Mode = ModeCountdown.toString();
        alarm.CountdownLeft = 100;
        m_app->controller.firstAlarm().startTick();
        sleep().prepareForSleep(true);
        m_clock.set(QDateTime(QDate(2026, 12, 8), QTime(7, 10)));
        sleep().prepareForSleep(false);
        QCOMPARE(alarm.CountdownLeft, 100); // the resume is no tick
        QCOMPARE(m_recorder->lines(), QStringList{});
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
        m_recorder->clear();
        m_app->controller.close();
        QCOMPARE(m_recorder->lines(), atClose);
        m_recorder->clear();
        m_app.reset();
        QCOMPARE(m_recorder->lines(), atEnd);
    }
};

QTEST_MAIN(TestSleepWake)
#include "tst_sleepwake.moc"
