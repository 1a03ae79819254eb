// The armed alarms as the store keeps them (Armed\<n>): written and read back alike, and every
// kind of damage listed with its reason while the entry stays and its neighbours still load.
#include "settings/ArmedAlarmStore.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "settings/TimeEntry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

using namespace tockwell;
using namespace tockwell::armed;

using Changes = QList<std::pair<QString, RawValue>>;
Q_DECLARE_METATYPE(tockwell::armed::StoredAlarm)
Q_DECLARE_METATYPE(Changes)

namespace {

RawValue sz(const QString &text)
{
    return {regtype::Sz, text, 0, {}};
}

RawValue dword(quint32 number)
{
    return {regtype::Dword, {}, number, {}};
}

const RawValue Deleted{};

StoredAlarm alarm(int number, QStringView mode, QStringView kind, TimeParts time, int left = 0)
{
    StoredAlarm stored;
    stored.number = number;
    stored.alarm.Mode = mode.toString();
    stored.alarm.ActionKind = kind.toString();
    stored.alarm.Hour = time.hours;
    stored.alarm.Minute = time.minutes;
    stored.alarm.Second = time.seconds;
    stored.alarm.CountdownLeft = left;
    stored.armedAt = QDateTime::fromString(u"2026-12-08T06:59:58.123Z"_qs, Qt::ISODateWithMs);
    return stored;
}

/// Every stored field, for a comparison that shows what differs.
QStringList fields(const StoredAlarm &s)
{
    const ArmedAlarm &a = s.alarm;
    return {QString::number(s.number),
            a.Mode,
            a.ActionKind,
            a.MainParam,
            a.SecondParam,
            u"%1:%2:%3"_qs.arg(a.Hour).arg(a.Minute).arg(a.Second),
            QString::number(a.CountdownLeft),
            QString::number(a.RepeatSeconds),
            s.armedAt.toString(Qt::ISODateWithMs),
            QString::number(int(s.snooze))};
}

QString entryPath(const QString &name)
{
    return keys::under(Key) + u"\\"_qs + name;
}

} // namespace

class TestArmedAlarmStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_db;

private slots:
    void init()
    {
        m_db = m_dir.filePath(u"settings.db"_qs);
        QFile::remove(m_db);
    }

    void writtenAlarmReadsBackAlike_data()
    {
        QTest::addColumn<StoredAlarm>("stored");
        QTest::newRow("clock time") << alarm(1, ModeClock, kinds::DefaultWindow, {7, 0, 0});

        StoredAlarm countdown = alarm(12, ModeCountdown, kinds::OpenWebPage, {0, 0, 90}, 90);
        countdown.alarm.MainParam = u"https://example.org/"_qs;
        countdown.alarm.RepeatSeconds = 300;
        QTest::newRow("countdown with repeat") << countdown;

        StoredAlarm polish = alarm(32, ModeClock, kinds::Other, {23, 59, 59});
        polish.alarm.MainParam = others::PressKey.toString();
        polish.alarm.SecondParam = u"Zażółć gęślą jaźń ¶ ŁÓDŹ"_qs;
        QTest::newRow("Polish letters") << polish;

        StoredAlarm snooze = alarm(2, ModeCountdown, kinds::Message, {0, 5, 0}, 300);
        snooze.alarm.MainParam = joinMessageParam(u"Już czas"_qs, u"Wstawaj"_qs);
        snooze.snooze = true;
        QTest::newRow("snooze") << snooze;
    }
    void writtenAlarmReadsBackAlike()
    {
        QFETCH(StoredAlarm, stored);
        StoreFile file(m_db);
        QVERIFY(readAlarms(file).alarms.empty());
        // What the number held before goes: the entry is replaced whole.
        Store store(file);
        store.openKey(entryPath(QString::number(stored.number)));
        store.writeString(u"Stale"_qs, u"x"_qs);

        writeAlarm(file, stored);
        const ReadResult read = readAlarms(file);
        QVERIFY(read.damaged.empty());
        QCOMPARE(read.alarms.size(), size_t(1));
        QCOMPARE(fields(read.alarms.front()), fields(stored));
        store.openKey(entryPath(QString::number(stored.number)));
        QVERIFY(!store.valueExists(u"Stale"_qs));

        removeAlarm(file, stored.number);
        QVERIFY(readAlarms(file).alarms.empty());
    }

    void damagedEntryIsListedAndKept_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Changes>("changes"); // to a sound clock-time entry
        QTest::addColumn<QString>("reason");
        const QString notNumber = u"the name is not a number 1 … 32"_qs;
        QTest::newRow("leading zero") << u"07"_qs << Changes{} << notNumber;
        QTest::newRow("beyond 32") << u"33"_qs << Changes{} << notNumber;
        QTest::newRow("sign") << u"+7"_qs << Changes{} << notNumber;
        QTest::newRow("no number") << u"Alarm"_qs << Changes{} << notNumber;
        QTest::newRow("Mode missing")
            << u"7"_qs << Changes{{u"Mode"_qs, Deleted}} << u"Mode is missing"_qs;
        QTest::newRow("Mode a number")
            << u"7"_qs << Changes{{u"Mode"_qs, dword(1)}} << u"Mode is not REG_SZ"_qs;
        QTest::newRow("Mode lower case")
            << u"7"_qs << Changes{{u"Mode"_qs, sz(u"g"_qs)}} << u"Mode is 'g'"_qs;
        QTest::newRow("Kind in another case")
            << u"7"_qs << Changes{{u"Kind"_qs, sz(u"komunikat"_qs)}} << u"Kind is 'komunikat'"_qs;
        QTest::newRow("SecondParam missing")
            << u"7"_qs << Changes{{u"SecondParam"_qs, Deleted}} << u"SecondParam is missing"_qs;
        QTest::newRow("Hour 25") << u"7"_qs << Changes{{u"Hour"_qs, dword(25)}} << u"Hour is 25"_qs;
        QTest::newRow("Minute 60")
            << u"7"_qs << Changes{{u"Minute"_qs, dword(60)}} << u"Minute is 60"_qs;
        QTest::newRow("Second a text")
            << u"7"_qs << Changes{{u"Second"_qs, sz(u"5"_qs)}} << u"Second is not REG_DWORD"_qs;
        QTest::newRow("countdown of 0")
            << u"7"_qs << Changes{{u"Mode"_qs, sz(u"D"_qs)}, {u"Countdown"_qs, dword(0)}}
            << u"Countdown is 0"_qs;
        QTest::newRow("negative repeat")
            << u"7"_qs << Changes{{u"Repeat"_qs, dword(0xFFFFFFFF)}} << u"Repeat is -1"_qs;
        QTest::newRow("ArmedAt no time")
            << u"7"_qs << Changes{{u"ArmedAt"_qs, sz(u"wczoraj"_qs)}} << u"ArmedAt is 'wczoraj'"_qs;
        QTest::newRow("Snooze 2") << u"7"_qs << Changes{{u"Snooze"_qs, dword(2)}}
                                  << u"Snooze is 2"_qs;
    }
    void damagedEntryIsListedAndKept()
    {
        QFETCH(QString, name);
        QFETCH(Changes, changes);
        QFETCH(QString, reason);
        StoreFile file(m_db);
        writeAlarm(file, alarm(5, ModeCountdown, kinds::PlaySound, {1, 0, 0}, 3600));
        const Changes sound = {{u"Mode"_qs, sz(u"G"_qs)},
                               {u"Kind"_qs, sz(u"Komunikat"_qs)},
                               {u"MainParam"_qs, sz(u"Tytuł¶Treść"_qs)},
                               {u"SecondParam"_qs, sz(QString())},
                               {u"Hour"_qs, dword(7)},
                               {u"Minute"_qs, dword(30)},
                               {u"Second"_qs, dword(0)},
                               {u"Countdown"_qs, dword(0)},
                               {u"Repeat"_qs, dword(0)},
                               {u"ArmedAt"_qs, sz(u"2026-12-08T06:59:58.123Z"_qs)},
                               {u"Snooze"_qs, dword(0)}};
        Store store(file);
        store.openKey(entryPath(u"5"_qs));
        store.writeString(u"Unknown"_qs, u"ignored"_qs); // a value the reader does not know
        store.openKey(entryPath(name));
        for (const auto &[valueName, value] : sound + changes) {
            if (value.type == regtype::None)
                store.deleteValue(valueName);
            else
                store.writeRaw(valueName, value);
        }

        const ReadResult read = readAlarms(file);
        QCOMPARE(read.damaged.size(), size_t(1));
        QCOMPARE(read.damaged.front().name, name);
        QCOMPARE(read.damaged.front().reason, reason);
        QCOMPARE(read.alarms.size(), size_t(1));
        QCOMPARE(read.alarms.front().number, 5);
        QVERIFY(store.keyExists(entryPath(name)));
    }
};

QTEST_GUILESS_MAIN(TestArmedAlarmStore)
#include "tst_armedalarmstore.moc"
