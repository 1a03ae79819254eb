#include "core/UpdateFile.h"
#include "support/UpdateFiles.h"

#include <QTest>

using namespace tockwell;
using test::NewerWithAddress;

class TestUpdateFile : public QObject
{
    Q_OBJECT

private slots:
    void versionComparison_data()
    {
        QTest::addColumn<QString>("newest");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("newer");
        QTest::newRow("last part") << u"1.5.0.18"_qs << u"1.5.0.17"_qs << true;
        QTest::newRow("first difference decides") << u"1.4.9.99"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("major down") << u"1.9.0.0"_qs << u"2.0.0.0"_qs << false;
        QTest::newRow("major up") << u"2.0.0.0"_qs << u"1.9.9.9"_qs << true;
        QTest::newRow("numbers, not texts") << u"1.10.0.0"_qs << u"1.9.0.0"_qs << true;
        QTest::newRow("equal") << u"1.5.0.17"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("leading zeros") << u"01.05.00.018"_qs << u"1.5.0.17"_qs << true;
        QTest::newRow("two parts") << u"1.6"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("three parts") << u"1.6.0"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("a fifth part") << u"1.6.0.0.1"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("letters") << u"1.6.0.0b"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("all letters") << u"a.b.c.d"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("empty part") << u"1..0.0"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("blank") << u"1. 6.0.0"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("sign") << u"+2.0.0.0"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("beyond 32 bits") << u"99999999999.0.0.0"_qs << u"1.5.0.17"_qs << false;
        QTest::newRow("empty") << QString() << u"1.5.0.17"_qs << false;
        QTest::newRow("current unreadable") << u"9.0.0.0"_qs << u"1.5"_qs << false;
    }
    void versionComparison()
    {
        QFETCH(QString, newest);
        QFETCH(QString, current);
        QFETCH(bool, newer);
        QCOMPARE(isNewerVersion(newest, current), newer);
    }

    void iniReading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("downloaded");
        QTest::addColumn<QStringList>("expected"); // version, url, note, home page, other page
        const QString home = u"https://www.kestrolab.pl/"_qs;
        const QString oldUrl = u"https://old/"_qs;
        QTest::newRow("no file") << QByteArray() << false
                                 << QStringList{u"1.0.0.0"_qs, {}, {}, home, {}};
        QTest::newRow("everything")
            << NewerWithAddress << true
            << QStringList{u"1.5.0.18"_qs, u"https://www.kestrolab.pl/pobierz/tockwell.tar.gz"_qs,
                           u"Poprawki budzika"_qs, u"https://kestrolab.example/"_qs,
                           u"https://kestrolab.example/o-nas"_qs};
        QTest::newRow("no sections") << QByteArray("version=2.0.0.0\n") << true
                                     << QStringList{u"1.0.0.0"_qs, {}, {}, home, {}};
        QTest::newRow("empty sections") << QByteArray("[dane]\n; nothing\n[Tockwell]\n") << true
                                        << QStringList{u"1.0.0.0"_qs, {}, {}, home, {}};
        QTest::newRow("url without version")
            << QByteArray("[Tockwell]\nurl=https://x/\n") << true
            << QStringList{u"1.0.0.0"_qs, u"https://x/"_qs, oldUrl, home, {}};
        QTest::newRow("dane without the home page")
            << QByteArray("[dane]\nCV_File=https://cv/\n") << true
            << QStringList{u"1.0.0.0"_qs, {}, {}, home, u"https://cv/"_qs};
        QTest::newRow("letter case, blanks, quotes, comments, CR LF")
            << QByteArray("\xEF\xBB\xBF; update file\r\n[ TOCKWELL ]\r\n  VERSION = 2.0.0.1 \r\n"
                          "Url=\"https://q/\"\r\nnew='nowa'\r\n[DANE]\r\nkestrolabhomepage=h\r\n")
            << true << QStringList{u"2.0.0.1"_qs, u"https://q/"_qs, u"nowa"_qs, u"h"_qs, {}};
        QTest::newRow("first of equal names")
            << QByteArray(
                   "[Tockwell]\nversion=3.0.0.0\nversion=4.0.0.0\n[Tockwell]\nurl=https://2/\n")
            << true << QStringList{u"3.0.0.0"_qs, oldUrl, oldUrl, home, {}};
        QTest::newRow("long value cut")
            << QByteArray("[Tockwell]\nnew=" + QByteArray(3000, 'x') + "\n") << true
            << QStringList{u"1.0.0.0"_qs, oldUrl, QString(2047, u'x'), home, {}};
        QTest::newRow("garbage") << QByteArray("<html><body>Not here</body></html>\n") + '\0' +
                                        '\xff'
                                 << true << QStringList{u"1.0.0.0"_qs, {}, {}, home, {}};
    }
    void iniReading()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, downloaded);
        QFETCH(QStringList, expected);
        // A value the file does not give keeps what an earlier check left ("https://old/").
        UpdateInfo info;
        info.downloadAddress = info.updateNote = u"https://old/"_qs;
        info.otherPage = u"https://stale/"_qs;
        const ProfileIni ini = ProfileIni::fromBytes(file);
        takeUpdateFile(downloaded ? &ini : nullptr, u"https://www.kestrolab.pl/"_qs, info);
        QCOMPARE((QStringList{info.newestVersion, info.downloadAddress, info.updateNote,
                              info.homePage, info.otherPage}),
                 expected);
    }

    void webAddresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("web");
        QTest::newRow("https") << u"https://www.kestrolab.pl/a.tar.gz"_qs << true;
        QTest::newRow("HTTP") << u"HTTP://kestrolab.pl"_qs << true;
        QTest::newRow("file") << u"file:///etc/passwd"_qs << false;
        QTest::newRow("javascript") << u"javascript:alert(1)"_qs << false;
        QTest::newRow("path") << u"/usr/bin/xterm"_qs << false;
        QTest::newRow("no scheme") << u"www.kestrolab.pl"_qs << false;
        QTest::newRow("no host") << u"http:///x"_qs << false;
        QTest::newRow("empty") << QString() << false;
    }
    void webAddresses()
    {
        QFETCH(QString, address);
        QFETCH(bool, web);
        QCOMPARE(isWebAddress(address), web);
    }
};

QTEST_APPLESS_MAIN(TestUpdateFile)
#include "tst_updatefile.moc"
