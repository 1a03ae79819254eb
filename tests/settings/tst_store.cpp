#include "settings/Store.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;

namespace {

const QString Key = u"Software\\Kestrolab\\Tockwell\\Test"_qs;

void writeAs(Store &store, const QString &name, int type)
{
    switch (type) {
    case regtype::Sz:
        store.writeString(name, u"1"_qs);
        break;
    case regtype::ExpandSz:
        store.writeExpandString(name, u"1"_qs);
        break;
    case regtype::Dword:
        store.writeInteger(name, 1);
        break;
    default:
        store.writeRaw(name, RawValue{type, {}, 0, QByteArray("\x01", 1)});
        break;
    }
}

bool readsAs(const Store &store, const QString &name, int type)
{
    switch (type) {
    case regtype::Sz:
        return store.readString(name).has_value();
    case regtype::ExpandSz:
        return store.readExpandString(name).has_value();
    default:
        return store.readInteger(name).has_value() && store.readBool(name).has_value();
    }
}

/// Whether SQLite's library is mapped into this process.
bool sqliteIsMapped()
{
    QFile maps(u"/proc/self/maps"_qs);
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libsqlite3");
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString dbPath() const { return m_dir.filePath(u"settings.db"_qs); }

private slots:
    void init() { QFile::remove(dbPath()); }

    void valueCountsOnlyWithTheExpectedType_data()
    {
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("read");
        for (const int written : {regtype::Sz, regtype::ExpandSz, regtype::Binary, regtype::Dword})
            for (const int read : {regtype::Sz, regtype::ExpandSz, regtype::Dword})
                QTest::addRow("%d as %d", written, read) << written << read;
    }
    void valueCountsOnlyWithTheExpectedType()
    {
        QFETCH(int, written);
        QFETCH(int, read);
        StoreFile file(dbPath());
        Store store(file);
        QVERIFY(store.openKey(Key));
        writeAs(store, u"v"_qs, written);
        QCOMPARE(store.valueType(u"v"_qs), written);
        QCOMPARE(readsAs(store, u"v"_qs, read), written == read);
        QVERIFY(!readsAs(store, u"missing"_qs, read));
    }

    void booleansAndIntegers()
    {
        StoreFile file(dbPath());
        Store store(file);
        store.openKey(Key);
        store.writeBool(u"on"_qs, true);
        store.writeBool(u"off"_qs, false);
        store.writeInteger(u"seven"_qs, 7);
        store.writeInteger(u"minus"_qs, -1);
        QCOMPARE(store.readInteger(u"on"_qs), 1);
        QCOMPARE(store.readBool(u"off"_qs), false);
        QCOMPARE(store.readBool(u"seven"_qs), true);
        QCOMPARE(store.readInteger(u"minus"_qs), -1);
        QCOMPARE(store.readRaw(u"minus"_qs)->number, 0xFFFFFFFFu);
    }

    void namesAreUniqueWithoutRegardToCase_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("ascii") << u"www.onet.pl"_qs << u"WWW.Onet.PL"_qs;
        QTest::newRow("polish") << u"Łódź"_qs << u"ŁÓDŹ"_qs;
        QTest::newRow("polish lower") << u"ŻÓŁĆ gęślą"_qs << u"żółć GĘŚLĄ"_qs;
    }
    void namesAreUniqueWithoutRegardToCase()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        StoreFile file(dbPath());
        Store store(file);
        store.openKey(Key);
        store.writeString(u"before"_qs, QString());
        store.writeString(first, QString());
        store.writeString(u"after"_qs, QString());
        store.writeString(second, u"nowe"_qs);
        QCOMPARE(store.valueNames(), QStringList({u"before"_qs, first, u"after"_qs}));
        QCOMPARE(store.readString(second), u"nowe"_qs);
        QCOMPARE(store.readString(first), u"nowe"_qs);
        QVERIFY(store.deleteValue(second));
        QCOMPARE(store.valueNames(), QStringList({u"before"_qs, u"after"_qs}));
    }

    void overwritingKeepsThePlace()
    {
        StoreFile file(dbPath());
        Store store(file);
        store.openKey(Key);
        for (const QString &name : {u"a"_qs, u"b"_qs, u"c"_qs})
            store.writeString(name, name);
        store.writeString(u"a"_qs, u"changed"_qs);
        store.writeInteger(u"b"_qs, 5); // another type, same place
        store.writeString(u"d"_qs, QString());
        QCOMPARE(store.valueNames(), QStringList({u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs}));
        QCOMPARE(store.readString(u"a"_qs), u"changed"_qs);
        QCOMPARE(store.readInteger(u"b"_qs), 5);
    }

    void unnamedValueIsListedAsAnEmptyName()
    {
        StoreFile file(dbPath());
        Store store(file);
        store.openKey(Key);
        store.writeString(u"x"_qs, QString());
        QVERIFY(!store.readString(QString()));
        store.writeString(QString(), u"x"_qs);
        store.writeString(QString(), u"y"_qs);
        QCOMPARE(store.valueNames(), QStringList({u"x"_qs, QString()}));
        QCOMPARE(store.readString(QString()), u"y"_qs);
    }

    void keyPathsIgnoreCaseAndOpeningCreates()
    {
        StoreFile file(dbPath());
        Store store(file);
        QVERIFY(!store.keyExists(Key));
        QVERIFY(store.openKey(Key));
        QVERIFY(store.keyExists(u"software\\KESTROLAB\\tockwell\\test"_qs));
        store.writeString(u"v"_qs, u"1"_qs);
        Store other(file);
        other.openKey(u"SOFTWARE\\kestrolab\\TOCKWELL\\TEST\\"_qs);
        QCOMPARE(other.readString(u"V"_qs), u"1"_qs);
        other.openKey(u"Software\\Kestrolab\\Tockwell"_qs);
        QCOMPARE(other.subkeyNames(), QStringList{u"Test"_qs});
    }

    void recreatingASubkeyEmptiesItWholly()
    {
        StoreFile file(dbPath());
        Store store(file);
        store.openKey(Key + u"\\List\\Deeper"_qs);
        store.writeString(u"deep"_qs, QString());
        store.openKey(Key + u"\\List"_qs);
        store.writeString(u"e"_qs, QString());
        store.writeString(QString(), u"e"_qs);
        store.openKey(Key + u"\\Other"_qs);
        store.writeString(u"kept"_qs, QString());

        store.openKey(Key);
        store.recreateSubkey(u"LIST"_qs);
        QVERIFY(store.keyExists(Key + u"\\List"_qs));
        QVERIFY(!store.keyExists(Key + u"\\List\\Deeper"_qs));
        store.openKey(Key + u"\\List"_qs);
        QVERIFY(store.valueNames().isEmpty());
        store.openKey(Key + u"\\Other"_qs);
        QCOMPARE(store.valueNames(), QStringList{u"kept"_qs});
    }

    void valuesOutliveTheConnection()
    {
        {
            StoreFile file(dbPath());
            Store store(file);
            store.openKey(Key);
            store.writeString(u"Łódź"_qs, u"żółw"_qs);
        }
        StoreFile file(dbPath());
        Store store(file);
        store.openKey(Key);
        QCOMPARE(store.readString(u"łódź"_qs), u"żółw"_qs);
        QVERIFY(file.damagedCopy().isEmpty());
        QVERIFY(file.damageNotice().isEmpty());
    }

    void transactionIsAllOrNothing()
    {
        StoreFile file(dbPath());
        Store store(file);
        store.openKey(Key);
        {
            StoreTransaction transaction(file);
            store.writeString(u"lost"_qs, QString());
        }
        QVERIFY(!store.valueExists(u"lost"_qs));
        StoreTransaction transaction(file);
        store.writeString(u"kept"_qs, QString());
        transaction.commit();
        QVERIFY(store.valueExists(u"kept"_qs));
    }

    void refusedWriteNamesTheValue()
    {
        // A store below a plain file cannot be created.
        QFile blocker(m_dir.filePath(u"blocker"_qs));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const QString path = blocker.fileName() + u"/settings.db"_qs;
        StoreFile file(path);
        QVERIFY(!file.isOpen());
        QVERIFY2(file.notice().contains(path), qPrintable(file.notice()));
        Store store(file);
        QVERIFY(!store.openKey(Key));
        QVERIFY(!store.readString(u"Path"_qs));
        QVERIFY(store.valueNames().isEmpty());
        try {
            store.writeString(u"Repeat_Time"_qs, u"5"_qs);
            QFAIL("no error");
        } catch (const Error &e) {
            QCOMPARE(e.text(),
                     u"Nie można zapisać wartości 'Repeat_Time'.\rPlik ustawień: %1\r"
                     u"Przyczyna: nie można utworzyć folderu na plik ustawień."_qs.arg(path));
        }
    }

    void damagedFileIsKeptAsideAndAFreshStoreUsed_data()
    {
        QTest::addColumn<QByteArray>("damage");
        QTest::addColumn<qint64>("offset");
        QTest::newRow("not a database")
            << QByteArray("[HKEY_CURRENT_USER]\n\"x\"=\"y\"\n") << qint64(-1);
        QTest::newRow("header destroyed") << QByteArray(100, '\xff') << qint64(0);
        QTest::newRow("pages destroyed") << QByteArray(4096 * 3, '\x5a') << qint64(4096);
    }
    void damagedFileIsKeptAsideAndAFreshStoreUsed()
    {
        QFETCH(QByteArray, damage);
        QFETCH(qint64, offset);
        if (offset >= 0) {
            StoreFile file(dbPath());
            Store store(file);
            store.openKey(Key);
            for (int i = 0; i < 500; ++i)
                store.writeString(u"entry %1 with some text"_qs.arg(i), QString());
        }
        QByteArray bytes;
        {
            QFile f(dbPath());
            QVERIFY(f.open(offset < 0 ? QIODevice::WriteOnly : QIODevice::ReadWrite));
            if (offset >= 0)
                f.seek(offset);
            f.write(damage);
            f.close();
            QVERIFY(f.open(QIODevice::ReadOnly));
            bytes = f.readAll();
        }

        StoreFile file(dbPath());
        QVERIFY(file.isOpen());
        QVERIFY(!file.damagedCopy().isEmpty());
        QVERIFY(file.damageNotice().contains(file.damagedCopy()));
        QFile kept(file.damagedCopy());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), bytes);

        Store store(file);
        store.openKey(Key);
        QVERIFY(store.valueNames().isEmpty());
        store.writeString(u"fresh"_qs, QString());
        QVERIFY(store.valueExists(u"fresh"_qs));

        StoreFile again(dbPath()); // told once
        QVERIFY(again.damagedCopy().isEmpty());
    }

    void defaultPlaceFollowsXdgConfigHome()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
        QCOMPARE(StoreFile::defaultPath(), m_dir.filePath(u"tockwell/settings.db"_qs));
    }

    // Between uses the file rests: its connection is closed and SQLite unmapped. The next use
    // opens both again and finds everything as it was, even through a Store made before.
    void fileRestsBetweenUsesAndWakesAsLeft()
    {
        StoreFile file(dbPath());
        Store store(file);
        QVERIFY(store.openKey(Key));
        store.writeString(u"kept"_qs, u"tak"_qs);
        QVERIFY(sqliteIsMapped());

        file.rest();
        QVERIFY(file.isResting());
        QVERIFY(!sqliteIsMapped());
        QVERIFY(file.isOpen() && file.isWritable());

        QCOMPARE(store.readString(u"kept"_qs), std::optional(u"tak"_qs));
        QVERIFY(!file.isResting());
        file.rest();
        store.writeInteger(u"after"_qs, 7);
        file.rest();
        QCOMPARE(store.valueNames(), QStringList({u"kept"_qs, u"after"_qs}));
        QCOMPARE(Store(file).keyExists(Key), true);
    }

    // An open transaction keeps the file awake: its changes are written together.
    void transactionKeepsTheFileAwake()
    {
        StoreFile file(dbPath());
        Store store(file);
        QVERIFY(store.openKey(Key));
        {
            StoreTransaction transaction(file);
            store.writeInteger(u"a"_qs, 1);
            file.rest();
            QVERIFY(!file.isResting());
            store.writeInteger(u"b"_qs, 2);
            transaction.commit();
        }
        file.rest();
        QVERIFY(file.isResting());
        QCOMPARE(store.readInteger(u"a"_qs), std::optional(1));
        QCOMPARE(store.readInteger(u"b"_qs), std::optional(2));
    }

    // With an event loop, the file rests by itself a moment after its last use.
    void fileRestsAMomentAfterItsLastUse()
    {
        StoreFile file(dbPath());
        QVERIFY(!file.isResting());
        QTRY_VERIFY_WITH_TIMEOUT(file.isResting(), 20 * StoreFile::RestAfterMs);
        Store store(file);
        QVERIFY(store.openKey(Key));
        QVERIFY(!file.isResting());
        QTRY_VERIFY_WITH_TIMEOUT(file.isResting(), 20 * StoreFile::RestAfterMs);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
