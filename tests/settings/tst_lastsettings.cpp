// The setup window's last-used values: how they are read from the store (with their defaults and
// the kind matched without regard to letter case) and Start's writes of them.
#include "settings/Keys.h"
#include "settings/LastSettings.h"
#include "settings/Store.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;

class TestLastSettings : public QObject
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

    void lastSettingsRestore_data()
    {
        QTest::addColumn<int>("o_za");
        QTest::addColumn<bool>("countdown");
        QTest::newRow("clock") << 1 << false;
        QTest::newRow("countdown") << 2 << true;
        QTest::newRow("seven is countdown") << 7 << true;
        QTest::newRow("zero is countdown") << 0 << true;
    }
    void lastSettingsRestore()
    {
        QFETCH(int, o_za);
        QFETCH(bool, countdown);
        StoreFile file(m_db);
        Store store(file);
        store.openKey(keys::Base);
        store.writeInteger(u"O_ZA"_qs, o_za);
        store.writeString(u"LastAction"_qs, u"Komunikat "_qs);
        const LastSettings last = readLastSettings(file);
        QCOMPARE(last.countdown, countdown);
        QCOMPARE(last.repeatTime, u"1"_qs);
        QVERIFY(!last.lastKind);

        writeStartSettings(file, false, true, u"30"_qs, u"Odegraj dźwięk"_qs);
        const LastSettings again = readLastSettings(file);
        QCOMPARE(again.countdown, false);
        QCOMPARE(again.repeat, true);
        QCOMPARE(again.repeatTime, u"30"_qs);
        QCOMPARE(again.lastKind, u"Odegraj dźwięk"_qs);

        store.writeString(u"LastAction"_qs, u"ODEGRAJ DŹWIĘK"_qs); // the kind, letter case aside
        QCOMPARE(readLastSettings(file).lastKind, u"Odegraj dźwięk"_qs);
    }

    void emptyStoreReadsDefaults()
    {
        StoreFile file(m_db);
        const LastSettings last = readLastSettings(file);
        QCOMPARE(last.countdown, false);
        QCOMPARE(last.repeat, false);
        QCOMPARE(last.repeatTime, u"1"_qs);
        QVERIFY(!last.lastKind);
        QVERIFY(last.reboot.isEmpty() && last.other.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLastSettings)
#include "tst_lastsettings.moc"
