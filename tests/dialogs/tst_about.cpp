#include "platform/recording/RecordingPlatform.h"
#include "ui/dialogs/U_Wspulny.h"
#include "ui/dialogs/UpdateCheck.h"
#include "ui/dialogs/about.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

using namespace tockwell;
using platform::Recorder;

namespace {

/// A one-file HTTP server on 127.0.0.1: answers every request with `status` and `body`, or,
/// when `silent`, accepts the connection and never answers.
class TinyHttpServer final : public QObject
{
public:
    int status = 200;
    QByteArray body;
    bool silent = false;
    QStringList paths;                       ///< the paths asked for, in order
    std::function<void()> onRequest = [] {}; ///< runs when a request has arrived

    TinyHttpServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &TinyHttpServer::accept);
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl base() const { return QUrl(u"http://127.0.0.1:%1/"_qs.arg(m_server.serverPort())); }

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(*socket); });
        }
    }
    void read(QTcpSocket &socket)
    {
        QByteArray &request = m_requests[&socket];
        request += socket.readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        paths << QString::fromLatin1(request.split(' ').value(1));
        onRequest();
        if (silent)
            return;
        socket.write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: " +
                     QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket.disconnectFromHost();
    }

    QTcpServer m_server;
    std::map<QTcpSocket *, QByteArray> m_requests;
};

const QByteArray NewerWithAddress = "[Tockwell]\n"
                                    "version=1.5.0.18\n"
                                    "url=https://www.kestrolab.pl/pobierz/tockwell.tar.gz\n"
                                    "new=Poprawki budzika\n"
                                    "[dane]\n"
                                    "KestrolabHomePage=https://kestrolab.example/\n"
                                    "CV_File=https://kestrolab.example/o-nas\n";

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

    QTemporaryDir tempDir; // the system's temporary directory for these tests
    QTemporaryDir programDir;
    std::shared_ptr<Recorder> recorder;
    std::unique_ptr<platform::Platform> platform;
    std::unique_ptr<QWidget> setupWindow;
    std::unique_ptr<TinyHttpServer> server;
    bool online = true;
    std::unique_ptr<TF_About> about;

    void makeWindow(std::chrono::milliseconds limit = std::chrono::milliseconds(5000))
    {
        about = std::make_unique<TF_About>(
            *platform, *setupWindow,
            AboutSettings{programDir.path(), server->base(), [this] { return online; }, limit});
    }
    void open()
    {
        setupWindow->setEnabled(false);
        about->show();
    }
    template <typename T = QWidget> T *child(const char *name) const
    {
        return about->findChild<T *>(QString::fromLatin1(name));
    }
    bool updateOffered() const { return !child("sb_DownUpdate")->isHidden(); }
    QStringList tempFiles() const
    {
        return QDir(tempDir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tempDir.isValid());
        qputenv("TMPDIR", tempDir.path().toLocal8Bit());
    }
    void init()
    {
        recorder = std::make_shared<Recorder>();
        platform = platform::makeRecordingPlatform(recorder);
        setupWindow = std::make_unique<QWidget>();
        server = std::make_unique<TinyHttpServer>();
        online = true;
        makeWindow();
    }
    void cleanup()
    {
        about.reset();
        server.reset();
        QVERIFY(tempFiles().isEmpty());
    }

    // The pieces.

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

    void theDownloadGoesToAPrivateFileDeletedAfterUse()
    {
        server->body = NewerWithAddress;
        QNetworkAccessManager network;
        auto file =
            downloadToTemporaryFile(network, server->base().resolved(QUrl(u"version.ini"_qs)),
                                    wspulny::tempDirectory(), std::chrono::seconds(5));
        QVERIFY(file);
        QCOMPARE(QFileInfo(file->fileName()).absolutePath(), tempDir.path());
        // Nobody but this user can read or replace it.
        QCOMPARE(QFile::permissions(file->fileName()),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QVERIFY(file->open());
        QCOMPARE(file->readAll(), NewerWithAddress);
        file.reset();
        QVERIFY(tempFiles().isEmpty());
    }

    void utilities()
    {
        QCOMPARE(wspulny::versionString(), u"1.5.0.17"_qs);
        QCOMPARE(wspulny::tempDirectory(), tempDir.path() + u'/');
        QCOMPARE(wspulny::systemDirectory(u"win"_qs), u"/usr"_qs);
        QCOMPARE(wspulny::systemDirectory(u"SYS"_qs), u"/usr/bin"_qs);
        QCOMPARE(wspulny::systemDirectory(u"TEMP"_qs), QString());
    }

    // The window.

    void theWindowAndItsLayout()
    {
        online = false;
        open();
        if (qEnvironmentVariableIsSet("ABOUT_GRAB"))
            about->grab().save(qEnvironmentVariable("ABOUT_GRAB"));
        QCOMPARE(about->windowTitle(), u"O programie ..."_qs);
        QCOMPARE(child<QLabel>("img_About")->pixmap().size(), QSize(400, 160));
        QCOMPARE(child("img_About")->geometry(), QRect(16, 16, 400, 160));
        auto *version = child<QLabel>("l_Version");
        QCOMPARE(version->text(), u"v 1.5.0.17"_qs);
        QCOMPARE(version->geometry().right(), child("img_About")->geometry().right());
        QCOMPARE(version->y(), 176);
        QVERIFY(version->font().bold());
        QCOMPARE(child<QLabel>("a_l_9")->text(), u"<a href=\"#\">https://www.kestrolab.pl/</a>"_qs);
        QVERIFY(child("a_l_CV")->isHidden());

        const QRect ok = child("sb_OK")->geometry();
        const QRect help = child("sb_Pomoc")->geometry();
        const QRect update = child("sb_DownUpdate")->geometry();
        QCOMPARE(about->width() - 1 - ok.right(), 16);
        QCOMPARE(ok.left() - 1 - help.right(), 16);
        QCOMPARE(update.left(), 8);
        QCOMPARE(update.width(), help.left() - 16);
        QCOMPARE(ok.top(), child("a_l_9")->geometry().bottom() + 1 + 16);
        QCOMPARE(about->height(), ok.bottom() + 1 + 16);
        QCOMPARE(child<QPushButton>("sb_DownUpdate")->text(),
                 u"Dostępna jest nowa wersja programu"_qs);
        QVERIFY(!updateOffered());
    }

    void helpButtonEscAndClosing()
    {
        online = false;
        open();
        QVERIFY(child("sb_Pomoc")->isHidden());
        QTest::keyClick(about.get(), Qt::Key_F1);
        QVERIFY(about->isVisible());
        QTest::keyClick(about.get(), Qt::Key_Escape);
        QVERIFY(!about->isVisible());
        QVERIFY(setupWindow->isEnabled());

        // Decided at every showing.
        QVERIFY(QDir(programDir.path()).mkpath(u"help"_qs));
        QFile page(programDir.filePath(u"help/tockwell.html"_qs));
        QVERIFY(page.open(QIODevice::WriteOnly));
        open();
        QVERIFY(!child("sb_Pomoc")->isHidden());
        QTest::mouseClick(child("sb_Pomoc"), Qt::LeftButton);
        QTest::mouseClick(child("sb_OK"), Qt::LeftButton);
        QVERIFY(!about->isVisible());
        QVERIFY(setupWindow->isEnabled());
        QCOMPARE(recorder->lines(),
                 QStringList{u"ShellOpen \"%1\" \"\" maximized"_qs.arg(page.fileName())});
        QVERIFY(server->paths.isEmpty());
    }

    void updateCheck_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QString>("homePage");
        QTest::newRow("newer with address")
            << 200 << NewerWithAddress << true << u"https://kestrolab.example/"_qs;
        QByteArray noAddress = NewerWithAddress;
        noAddress.replace("url=https://www.kestrolab.pl/pobierz/tockwell.tar.gz", "url=");
        QTest::newRow("newer without address")
            << 200 << noAddress << false << u"https://kestrolab.example/"_qs;
        QByteArray older = NewerWithAddress;
        older.replace("1.5.0.18", "1.4.9.99");
        QTest::newRow("older") << 200 << older << false << u"https://kestrolab.example/"_qs;
        QByteArray same = NewerWithAddress;
        same.replace("1.5.0.18", "1.5.0.17");
        QTest::newRow("the same") << 200 << same << false << u"https://kestrolab.example/"_qs;
        QTest::newRow("url without version") << 200 << QByteArray("[Tockwell]\nurl=https://x/\n")
                                             << false << u"https://www.kestrolab.pl/"_qs;
        QTest::newRow("malformed") << 200 << QByteArray("<html>\x01\x02 version=9.0.0.0") << false
                                   << u"https://www.kestrolab.pl/"_qs;
        QTest::newRow("missing file (404)")
            << 404 << NewerWithAddress << false << u"https://www.kestrolab.pl/"_qs;
        QTest::newRow("server error")
            << 500 << NewerWithAddress << false << u"https://www.kestrolab.pl/"_qs;
    }
    void updateCheck()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, offered);
        QFETCH(QString, homePage);
        server->status = status;
        server->body = body;
        bool visibleDuringCheck = true;
        server->onRequest = [&] { visibleDuringCheck = about->isVisible(); };
        open();
        QCOMPARE(server->paths, QStringList{u"/version.ini"_qs});
        QVERIFY(!visibleDuringCheck); // the window appears when the check has ended
        QVERIFY(about->isVisible());
        QCOMPARE(updateOffered(), offered);
        QCOMPARE(about->updateInfo().homePage, homePage);
        QVERIFY(tempFiles().isEmpty());

        // The links open their addresses.
        recorder->clear();
        emit child<QLabel>("a_l_9")->linkActivated(u"#"_qs);
        QCOMPARE(recorder->lines(),
                 QStringList{u"ShellOpen \"%1\" \"\" maximized"_qs.arg(homePage)});
        if (offered) {
            QCOMPARE(child("sb_DownUpdate")->toolTip(), u"Poprawki budzika"_qs);
            QVERIFY(!child("a_l_CV")->isHidden());
            recorder->clear();
            QTest::mouseClick(child("sb_DownUpdate"), Qt::LeftButton);
            QCOMPARE(
                recorder->lines(),
                QStringList{
                    u"ShellOpen \"https://www.kestrolab.pl/pobierz/tockwell.tar.gz\" \"\" normal"_qs});
        }

        // Once per run: the results stay, no second request.
        about->close();
        server->body = "[Tockwell]\nversion=1.0.0.0\nurl=\n";
        open();
        QCOMPARE(server->paths.size(), 1);
        QCOMPARE(updateOffered(), offered);
    }

    void aServerThatNeverAnswersCountsAsAFailedDownload()
    {
        using namespace std::chrono_literals;
        makeWindow(800ms);
        server->silent = true;
        QElapsedTimer timer;
        timer.start();
        open();
        QVERIFY(timer.elapsed() >= 700);
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(server->paths.size(), 1);
        QVERIFY(about->isVisible());
        QVERIFY(!updateOffered());
        QCOMPARE(about->updateInfo().homePage, u"https://www.kestrolab.pl/"_qs);
        // The check counts as made.
        about->close();
        server->silent = false;
        server->body = NewerWithAddress;
        open();
        QCOMPARE(server->paths.size(), 1);
    }

    void offlineFirstThenOnline()
    {
        server->body = NewerWithAddress;
        online = false;
        open();
        QVERIFY(server->paths.isEmpty());
        QVERIFY(!updateOffered());
        about->close();
        online = true;
        open();
        QCOMPARE(server->paths.size(), 1);
        QVERIFY(updateOffered());
        about->close();
        open();
        QCOMPARE(server->paths.size(), 1);
    }

    void addressesThatAreNoWebAddressesAreNotOpened_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::newRow("file") << QByteArray("file:///usr/bin/xterm");
        QTest::newRow("javascript") << QByteArray("javascript:alert(1)");
        QTest::newRow("path") << QByteArray("/usr/bin/xterm");
    }
    void addressesThatAreNoWebAddressesAreNotOpened()
    {
        QFETCH(QByteArray, address);
        server->body = "[Tockwell]\nversion=9.0.0.0\nurl=" + address +
                       "\n[dane]\nKestrolabHomePage=" + address + "\nCV_File=" + address + "\n";
        open();
        QVERIFY(!updateOffered());
        QMetaObject::invokeMethod(child("sb_DownUpdate"), "click");
        emit child<QLabel>("a_l_9")->linkActivated(u"#"_qs);
        emit child<QLabel>("a_l_CV")->linkActivated(u"#"_qs);
        QVERIFY(recorder->lines().isEmpty());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
