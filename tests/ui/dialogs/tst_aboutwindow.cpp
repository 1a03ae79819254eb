#include "engine/SystemInfo.h"
#include "engine/UpdateDownload.h"
#include "platform/recording/RecordingPlatform.h"
#include "ui/dialogs/AboutWindow.h"

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

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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

/// An HTTP server on 127.0.0.1 in a thread of its own that answers one request with `head`
/// and then up to `total` bytes of body, as fast as the client takes them. `sent()` tells how
/// much the connection took before the client went.
class FloodServer final
{
public:
    FloodServer(QByteArray head, qint64 total) : m_head(std::move(head)), m_total(total)
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), length);
        ::listen(m_socket, 1);
        ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~FloodServer()
    {
        ::shutdown(m_socket, SHUT_RDWR);
        m_thread.join();
        ::close(m_socket);
    }
    QUrl url() const { return QUrl(u"http://127.0.0.1:%1/version.ini"_qs.arg(m_port)); }
    qint64 sent() const { return m_sent; }

private:
    void serve()
    {
        pollfd waiting{m_socket, POLLIN, 0};
        if (::poll(&waiting, 1, 20'000) != 1)
            return;
        const int client = ::accept(m_socket, nullptr, nullptr);
        if (client < 0)
            return;
        const timeval limit{20, 0};
        ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        QByteArray request(4096, '\0');
        qsizetype got = 0;
        while (!request.left(got).contains("\r\n\r\n")) {
            const ssize_t n = ::recv(client, request.data() + got, size_t(request.size() - got), 0);
            if (n <= 0)
                break;
            got += n;
        }
        ::send(client, m_head.constData(), size_t(m_head.size()), MSG_NOSIGNAL);
        const QByteArray chunk(64 * 1024, 'x');
        while (m_sent < m_total) {
            const ssize_t n = ::send(client, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            m_sent += n;
        }
        ::close(client);
    }

    QByteArray m_head;
    qint64 m_total;
    int m_socket = -1;
    quint16 m_port = 0;
    std::atomic<qint64> m_sent = 0;
    std::thread m_thread;
};

/// A line of /proc/self/status in bytes ("VmRSS", "VmHWM"); -1 when there is none.
qint64 memoryFigure(const QByteArray &name)
{
    QFile status(u"/proc/self/status"_qs);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

const QByteArray NewerWithAddress = "[Tockwell]\n"
                                    "version=1.5.0.18\n"
                                    "url=https://www.kestrolab.pl/pobierz/tockwell.tar.gz\n"
                                    "new=Poprawki budzika\n"
                                    "[dane]\n"
                                    "KestrolabHomePage=https://kestrolab.example/\n"
                                    "CV_File=https://kestrolab.example/o-nas\n";

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir tempDir; // the system's temporary directory for these tests
    QTemporaryDir programDir;
    std::shared_ptr<Recorder> recorder;
    std::unique_ptr<platform::Platform> platform;
    std::unique_ptr<QWidget> setupWindow;
    std::unique_ptr<TinyHttpServer> server;
    bool online = true;
    std::unique_ptr<AboutWindow> about;

    void makeWindow(std::chrono::milliseconds limit = std::chrono::milliseconds(5000))
    {
        about = std::make_unique<AboutWindow>(
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

    void theDownloadGoesToAPrivateFileDeletedAfterUse()
    {
        server->body = NewerWithAddress;
        QNetworkAccessManager network;
        auto file =
            downloadToTemporaryFile(network, server->base().resolved(QUrl(u"version.ini"_qs)),
                                    systeminfo::tempDirectory(), std::chrono::seconds(5));
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

    void bigAnswersAreCutAtTheLimit_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<bool>("downloaded");
        constexpr qint64 MiB = 1024 * 1024;
        QTest::newRow("endless") << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")
                                 << 256 * MiB << false;
        QTest::newRow("100 MB announced")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 104857600\r\n\r\n") << 100 * MiB
            << false;
        QTest::newRow("1 MiB and one byte")
            << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n") << MiB + 1 << false;
        QTest::newRow("1 MiB") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n")
                               << MiB << true;
    }
    void bigAnswersAreCutAtTheLimit()
    {
        QFETCH(QByteArray, head);
        QFETCH(qint64, total);
        QFETCH(bool, downloaded);
        QNetworkAccessManager network;
        std::unique_ptr<QTemporaryFile> file;
        // The peak of the resident memory starts again from the present (Linux 4.0 and later).
        QFile clear(u"/proc/self/clear_refs"_qs);
        const bool peakReset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
        clear.close();
        const qint64 before = memoryFigure("VmRSS");
        qint64 taken = 0;
        {
            FloodServer flood(head, total);
            file = downloadToTemporaryFile(network, flood.url(), systeminfo::tempDirectory(),
                                           std::chrono::seconds(20));
            network.clearConnectionCache();
            taken = flood.sent();
        }
        const qint64 growth = memoryFigure("VmHWM") - before;
        qInfo("%lld KiB offered, %lld KiB taken, peak memory growth %lld KiB", total >> 10,
              taken >> 10, growth >> 10);
        QCOMPARE(bool(file), downloaded);
        if (downloaded)
            QCOMPARE(file->size(), total);
        // What the connection took beyond the limit waits in the system's socket buffers.
        constexpr qint64 MiB = 1024 * 1024;
        QVERIFY2(taken < 16 * MiB, qPrintable(QString::number(taken)));
        if (peakReset && before > 0)
            QVERIFY2(growth < 12 * MiB, qPrintable(QString::number(growth)));
    }

    void aMissingOrForeignTmpdirFallsBackToTmp_data()
    {
        QTest::addColumn<QString>("tmpdir");
        QTest::addColumn<bool>("used");
        QTest::newRow("own folder") << tempDir.path() << true;
        QTest::newRow("missing") << tempDir.path() + u"/missing"_qs << false;
        QTest::newRow("a file") << u"/proc/self/status"_qs << false;
        QTest::newRow("relative") << u"tmp"_qs << false;
        QTest::newRow("empty") << QString() << false;
        // Root's folder for anybody else; for root, a folder given to "nobody".
        QString foreign = u"/"_qs;
        if (::geteuid() == 0) {
            foreign = tempDir.filePath(u"foreign"_qs);
            QVERIFY(QDir().mkpath(foreign));
            QVERIFY(::chown(QFile::encodeName(foreign).constData(), 65534, 65534) == 0);
        }
        QTest::newRow("another user's folder") << foreign << false;
    }
    void aMissingOrForeignTmpdirFallsBackToTmp()
    {
        QFETCH(QString, tmpdir);
        QFETCH(bool, used);
        const auto restore =
            qScopeGuard([this] { qputenv("TMPDIR", tempDir.path().toLocal8Bit()); });
        qputenv("TMPDIR", tmpdir.toLocal8Bit());
        QCOMPARE(systeminfo::tempDirectory(), used ? tmpdir + u'/' : u"/tmp/"_qs);
    }

    void nothingIsWrittenBesideAMissingFolder()
    {
        server->body = NewerWithAddress;
        QNetworkAccessManager network;
        const QString missing = tempDir.filePath(u"missing"_qs);
        const auto file =
            downloadToTemporaryFile(network, server->base().resolved(QUrl(u"version.ini"_qs)),
                                    missing, std::chrono::seconds(5));
        QVERIFY(!file);
        QVERIFY(tempFiles().isEmpty()); // no "missingdane-XXXXXX.ini" beside it
        QVERIFY(!QFileInfo::exists(missing));
    }

    void utilities()
    {
        QCOMPARE(systeminfo::versionString(), u"1.5.0.17"_qs);
        QCOMPARE(systeminfo::tempDirectory(), tempDir.path() + u'/');
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

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
