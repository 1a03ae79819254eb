#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;

class TestRecentList : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_db;
    QString at(const QString &relative) const { return m_dir.filePath(relative); }

private slots:
    void initTestCase()
    {
        QDir().mkpath(at(u"folder with blanks"_qs));
        for (const QString &name : {u"folder with blanks/Big ben.mp3"_qs, u"plain.wav"_qs}) {
            QFile file(at(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    void init()
    {
        m_db = at(u"settings.db"_qs);
        QFile::remove(m_db);
    }

    void startWritesInTheListsOrder_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("currentFirst");
        for (const QStringView list : keys::RecentLists)
            QTest::newRow(list.toLatin1().constData())
                << list.toString() << (list == keys::O_MRU || list == keys::ZA_MRU);
    }
    void startWritesInTheListsOrder()
    {
        QFETCH(QString, list);
        QFETCH(bool, currentFirst);
        StoreFile file(m_db);
        rememberEntry(file, list, u"Łódź"_qs);
        const RecentListContents contents = readRecentList(file, list);
        QCOMPARE(contents.names, currentFirst ? QStringList({QString(), u"Łódź"_qs})
                                              : QStringList({u"Łódź"_qs, QString()}));
        QCOMPARE(contents.current, u"Łódź"_qs);
    }

    void repeatedEntryKeepsItsPlaceAndSpelling()
    {
        StoreFile file(m_db);
        rememberEntry(file, keys::WWW_MRU, u"www.łódź.pl"_qs);
        rememberEntry(file, keys::WWW_MRU, u"www.wp.pl"_qs);
        rememberEntry(file, keys::WWW_MRU, u"WWW.ŁÓDŹ.PL"_qs);
        const RecentListContents contents = readRecentList(file, keys::WWW_MRU);
        QCOMPARE(contents.names, QStringList({u"www.łódź.pl"_qs, QString(), u"www.wp.pl"_qs}));
        QCOMPARE(contents.current, u"WWW.ŁÓDŹ.PL"_qs);
    }

    void buttonNeedsTwoStoredNames()
    {
        StoreFile file(m_db);
        QVERIFY(!readRecentList(file, keys::EXE_MRU).buttonVisible());
        {
            Store store(file);
            store.openKey(keys::under(keys::EXE_MRU));
            store.writeString(u"/nonexistent/program"_qs, QString());
        }
        QVERIFY(!readRecentList(file, keys::EXE_MRU).buttonVisible());
        rememberEntry(file, keys::EXE_MRU, u"/nonexistent/program"_qs);
        const RecentListContents contents = readRecentList(file, keys::EXE_MRU);
        QVERIFY(contents.buttonVisible()); // one entry and the current entry
        QVERIFY(shownEntries(keys::EXE_MRU, contents.names).isEmpty());
    }

    void clearingEmptiesOnlyThatList()
    {
        StoreFile file(m_db);
        rememberEntry(file, keys::WWW_MRU, u"www.onet.pl"_qs);
        rememberEntry(file, keys::Foldery_MRU, u"/"_qs);
        clearRecentList(file, keys::WWW_MRU);
        const RecentListContents web = readRecentList(file, keys::WWW_MRU);
        QVERIFY(web.names.isEmpty());
        QVERIFY(!web.current);
        QVERIFY(!web.buttonVisible());
        Store store(file);
        QVERIFY(store.keyExists(keys::under(keys::WWW_MRU)));
        QCOMPARE(readRecentList(file, keys::Foldery_MRU).names.size(), 2);
    }

    void displayTestsAndCaptions_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("caption");
        const QString big = at(u"folder with blanks/Big ben.mp3"_qs);
        QTest::newRow("sound") << u"Sound_MRU"_qs << big << true << u"Big ben"_qs;
        QTest::newRow("missing sound")
            << u"Sound_MRU"_qs << at(u"gone.wav"_qs) << false << u"gone"_qs;
        QTest::newRow("folder as file")
            << u"Pliki_MRU"_qs << at(u"folder with blanks"_qs) << false << u"folder with blanks"_qs;
        QTest::newRow("two dots") << u"EXE_MRU"_qs << u"/x/a.b.sh"_qs << false << u"a.b"_qs;
        QTest::newRow("folder") << u"Foldery_MRU"_qs << at(u"folder with blanks"_qs) << true
                                << at(u"folder with blanks"_qs);
        QTest::newRow("file as folder") << u"Foldery_MRU"_qs << big << false << big;
        QTest::newRow("web") << u"WWW_MRU"_qs << u"www.onet.pl"_qs << true << u"www.onet.pl"_qs;
        QTest::newRow("time") << u"O_MRU"_qs << u"7:5:0"_qs << true << u"7:5:0"_qs;
    }
    void displayTestsAndCaptions()
    {
        QFETCH(QString, list);
        QFETCH(QString, entry);
        QFETCH(bool, shown);
        QFETCH(QString, caption);
        QCOMPARE(showsEntry(list, entry), shown);
        QCOMPARE(shownEntries(list, {QString(), entry}),
                 shown ? QStringList{entry} : QStringList());
        QCOMPARE(menuCaption(list, entry), caption);
    }

    void restoredCurrentEntry()
    {
        const QString big = at(u"folder with blanks/Big ben.mp3"_qs);
        QCOMPARE(restoredFieldText(keys::Sound_MRU, {{}, big}), big);
        QCOMPARE(restoredFieldText(keys::Sound_MRU, {{}, at(u"gone.wav"_qs)}), QString());
        QCOMPARE(restoredFieldText(keys::Foldery_MRU, {{}, at(u"plain.wav"_qs)}), QString());
        QCOMPARE(restoredFieldText(keys::WWW_MRU, {{}, u"www.wp.pl"_qs}), u"www.wp.pl"_qs);
        QCOMPARE(restoredFieldText(keys::WWW_MRU, {{}, std::nullopt}), QString());
    }

    void fileNameOfFieldText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileName");
        const QString big = at(u"folder with blanks/Big ben.mp3"_qs);
        QTest::newRow("existing file with blanks") << big << big;
        QTest::newRow("quoted with argument")
            << u"\"/opt/My App/run\" --now"_qs << u"/opt/My App/run"_qs;
        QTest::newRow("command with argument")
            << u"/usr/bin/vlc  file.mp3"_qs << u"/usr/bin/vlc"_qs;
        QTest::newRow("missing file with blanks")
            << at(u"folder with blanks/gone.mp3"_qs) << at(u"folder"_qs);
        QTest::newRow("leading blanks") << u"   /bin/true"_qs << u"/bin/true"_qs;
        QTest::newRow("quotes inside") << u"/a\"b c\"d e"_qs << u"/ab cd"_qs;
        QTest::newRow("empty") << QString() << QString();
    }
    void fileNameOfFieldText()
    {
        QFETCH(QString, text);
        QFETCH(QString, fileName);
        QCOMPARE(tockwell::fileNameOfFieldText(text), fileName);
    }
};

QTEST_GUILESS_MAIN(TestRecentList)
#include "tst_recentlist.moc"
