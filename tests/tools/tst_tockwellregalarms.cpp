// tockwell-reg's armed alarms (add, list, remove, and what each refuses) and the signal on the
// session bus that tells a running program of every change to the store.
#include "RegRun.h"
#include "settings/Store.h"
#include "settings/StoreChangedSignal.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

using namespace tockwell;
using namespace tockwell::test;

namespace {

const QString Armed = Base + u"\\Armed"_qs;

} // namespace

/// Counts the store's change signals that arrive on a bus.
class ChangeCounter : public QObject
{
    Q_OBJECT

public:
    int received = 0;

public slots:
    void count() { ++received; }
};

class TestTockwellRegAlarms : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sessionBus; ///< the address the tool is given as its session bus, if any
    QString storePath() const { return m_dir.filePath(u"tockwell/settings.db"_qs); }

    Run reg(const QStringList &args) { return runReg(m_dir.path(), args, {}, m_sessionBus); }

private slots:
    void init()
    {
        QFile::remove(storePath());
        QFile::remove(storePath() + u"-wal"_qs);
        QFile::remove(storePath() + u"-shm"_qs);
    }

    void alarmsAddListRemove()
    {
        const QDateTime before = QDateTime::currentDateTimeUtc();
        QCOMPARE(reg({u"alarms"_qs, u"add"_qs, u"--at"_qs, u"7:00"_qs, u"--kind"_qs,
                      u"Domyślne okno"_qs})
                     .output,
                 u"1\n"_qs);
        {
            // A damaged entry keeps its number.
            StoreFile file(storePath());
            Store(file).openKey(Armed + u"\\2"_qs);
        }
        const Run added = reg({u"alarms"_qs, u"add"_qs, u"--in"_qs, u"0:4:12"_qs, u"--kind"_qs,
                               u"Komunikat"_qs, u"--param"_qs, u"Już czas¶Wstawaj\nteraz"_qs,
                               u"--second"_qs, u"x"_qs, u"--repeat"_qs, u"60"_qs});
        QCOMPARE(added.exitCode, 0);
        QCOMPARE(added.output, u"3\n"_qs);
        QCOMPARE(added.errors, QString()); // no word about the session bus it does not have

        const Run list = reg({u"alarms"_qs, u"list"_qs});
        QCOMPARE(list.exitCode, 0);
        QCOMPARE(list.errors, u"Armed\\2: damaged: Mode is missing\n"_qs);
        const QStringList lines = list.output.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QStringList first = lines[0].split(u'\t');
        QStringList third = lines[1].split(u'\t');
        for (QStringList *fields : {&first, &third}) {
            const QString armedAt = fields->takeLast();
            QVERIFY2(armedAt.startsWith(u"armed="_qs), qPrintable(armedAt));
            const QDateTime at = QDateTime::fromString(armedAt.mid(6), Qt::ISODateWithMs);
            QVERIFY(at >= before.addMSecs(-1) && at <= QDateTime::currentDateTimeUtc());
        }
        QCOMPARE(first, QStringList({u"1"_qs, u"G 07:00:00"_qs, u"Domyślne okno"_qs, QString(),
                                     QString(), u"repeat=0"_qs}));
        QCOMPARE(third, QStringList({u"3"_qs, u"D 0:04:12"_qs, u"Komunikat"_qs,
                                     u"Już czas¶Wstawaj\\nteraz"_qs, u"x"_qs, u"repeat=60"_qs}));

        QCOMPARE(reg({u"alarms"_qs, u"remove"_qs, u"3"_qs}).exitCode, 0);
        QCOMPARE(reg({u"alarms"_qs, u"remove"_qs, u"3"_qs}).exitCode, 1);
        QCOMPARE(reg({u"alarms"_qs, u"remove"_qs, u"2"_qs}).exitCode, 0); // the damaged one
        QCOMPARE(reg({u"alarms"_qs, u"list"_qs}).output.count(u'\n'), 1);
        QCOMPARE(reg({u"alarms"_qs, u"remove"_qs, u"all"_qs}).exitCode, 0);
        const Run empty = reg({u"alarms"_qs, u"list"_qs});
        QCOMPARE(empty.exitCode, 0);
        QVERIFY(empty.output.isEmpty() && empty.errors.isEmpty());
        QCOMPARE(reg({u"alarms"_qs, u"remove"_qs, u"all"_qs}).exitCode, 1);
    }

    void alarmsAddRefuses_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("taken"); // entries Armed\1 … Armed\taken already there
        QTest::addColumn<QString>("message");
        const QStringList kind{u"--kind"_qs, u"Komunikat"_qs};
        QTest::newRow("beyond 32")
            << QStringList{u"--at"_qs, u"7:00"_qs} + kind << 32 << u"at most 32"_qs;
        QTest::newRow("hour 24") << QStringList{u"--at"_qs, u"24:00"_qs} + kind << 0
                                 << u"'24:00' is not a time of day"_qs;
        QTest::newRow("countdown of 0")
            << QStringList{u"--in"_qs, u"0:0:0"_qs} + kind << 0 << u"not '0:0:0'"_qs;
        QTest::newRow("countdown without seconds")
            << QStringList{u"--in"_qs, u"1:30"_qs} + kind << 0 << u"'1:30' is not a countdown"_qs;
        QTest::newRow("no time") << kind << 0 << u"--at HH:MM[:SS] or --in H:M:S"_qs;
        QTest::newRow("two times")
            << QStringList{u"--at"_qs, u"7:00"_qs, u"--in"_qs, u"0:1:0"_qs} + kind << 0
            << u"--at HH:MM[:SS] or --in H:M:S"_qs;
        QTest::newRow("kind in another case")
            << QStringList{u"--at"_qs, u"7:00"_qs, u"--kind"_qs, u"komunikat"_qs} << 0
            << u"unknown kind 'komunikat'"_qs;
        QTest::newRow("no kind") << QStringList{u"--at"_qs, u"7:00"_qs} << 0 << u"--kind"_qs;
        QTest::newRow("negative repeat")
            << QStringList{u"--at"_qs, u"7:00"_qs, u"--repeat"_qs, u"-5"_qs} + kind << 0
            << u"'-5' is not a number of seconds"_qs;
        QTest::newRow("unknown option")
            << QStringList{u"--at"_qs, u"7:00"_qs, u"--when"_qs, u"now"_qs} + kind << 0
            << u"unknown option '--when'"_qs;
    }
    void alarmsAddRefuses()
    {
        QFETCH(QStringList, options);
        QFETCH(int, taken);
        QFETCH(QString, message);
        {
            StoreFile file(storePath());
            Store store(file);
            for (int number = 1; number <= taken; ++number)
                store.openKey(Armed + u"\\%1"_qs.arg(number));
        }
        const Run run = reg(QStringList{u"alarms"_qs, u"add"_qs} + options);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
        StoreFile file(storePath());
        Store store(file);
        store.openKey(Armed);
        QCOMPARE(store.subkeyNames().size(), taken);
    }

    /// Every change tells a running program on the session bus; looking does not.
    void changesAreAnnouncedOnTheSessionBus()
    {
        if (QStandardPaths::findExecutable(u"dbus-daemon"_qs).isEmpty())
            QSKIP("dbus-daemon is not installed");
        QProcess daemon;
        m_sessionBus = startPrivateBus(daemon);
        const auto stop = qScopeGuard([&] {
            QDBusConnection::disconnectFromBus(u"listener"_qs);
            m_sessionBus.clear();
            daemon.kill();
            daemon.waitForFinished();
        });
        QVERIFY(!m_sessionBus.isEmpty());
        QDBusConnection bus = QDBusConnection::connectToBus(m_sessionBus, u"listener"_qs);
        ChangeCounter counter;
        QVERIFY(bus.connect(QString(), storechanged::Path.toString(),
                            storechanged::Interface.toString(), storechanged::Member.toString(),
                            &counter, SLOT(count())));
        QFile regFile(m_dir.filePath(u"one.reg"_qs));
        QVERIFY(regFile.open(QIODevice::WriteOnly));
        regFile.write("REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell]\r\n");
        regFile.close();
        const QList<std::pair<QStringList, int>> commands = {
            {{u"alarms"_qs, u"add"_qs, u"--in"_qs, u"0:0:5"_qs, u"--kind"_qs, u"Komunikat"_qs}, 1},
            {{u"alarms"_qs, u"list"_qs}, 1},
            {{u"alarms"_qs, u"remove"_qs, u"9"_qs}, 1}, // refused: nothing changed
            {{u"add"_qs, u"HKCU\\"_qs + Base, u"/v"_qs, u"x"_qs, u"/f"_qs}, 2},
            {{u"query"_qs, u"HKCU\\"_qs + Base}, 2},
            {{u"delete"_qs, u"HKCU\\"_qs + Base, u"/v"_qs, u"x"_qs, u"/f"_qs}, 3},
            {{u"import"_qs, regFile.fileName()}, 4},
            {{u"alarms"_qs, u"remove"_qs, u"all"_qs}, 5},
        };
        for (const auto &[args, total] : commands) {
            reg(args);
            QTRY_COMPARE(counter.received, total);
        }
    }
};

QTEST_GUILESS_MAIN(TestTockwellRegAlarms)
#include "tst_tockwellregalarms.moc"
