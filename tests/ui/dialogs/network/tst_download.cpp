// The update file's download: a private file deleted after use, a size limit that holds
// whatever the server sends, nothing written beside a missing folder.
#include "engine/SystemInfo.h"
#include "support/OwnTempDirectory.h"
#include "support/TinyHttpServer.h"
#include "ui/dialogs/network/Download.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
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

namespace {

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

const QByteArray NewerWithAddress = "[Tockwell]\nversion=1.5.0.18\n";

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT

    test::OwnTempDirectory m_tempDir; // the system's temporary directory for these tests
    std::unique_ptr<TinyHttpServer> m_server;

private slots:
    void initTestCase() { QVERIFY(m_tempDir.use()); }
    void init() { m_server = std::make_unique<TinyHttpServer>(); }
    void cleanup()
    {
        m_server.reset();
        QVERIFY(m_tempDir.files().isEmpty());
    }

    void theDownloadGoesToAPrivateFileDeletedAfterUse()
    {
        m_server->body = NewerWithAddress;
        QNetworkAccessManager network;
        auto file =
            downloadToTemporaryFile(network, m_server->base().resolved(QUrl(u"version.ini"_qs)),
                                    systeminfo::tempDirectory(), std::chrono::seconds(5));
        QVERIFY(file);
        QCOMPARE(QFileInfo(file->fileName()).absolutePath(), m_tempDir.path());
        // Nobody but this user can read or replace it.
        QCOMPARE(QFile::permissions(file->fileName()),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QVERIFY(file->open());
        QCOMPARE(file->readAll(), NewerWithAddress);
        file.reset();
        QVERIFY(m_tempDir.files().isEmpty());
    }

    void bigAnswersAreCutAtTheLimit_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<bool>("downloaded");
        constexpr qint64 mebibyte = 1024 * 1024;
        QTest::newRow("endless") << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")
                                 << 256 * mebibyte << false;
        QTest::newRow("100 MB announced")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 104857600\r\n\r\n") << 100 * mebibyte
            << false;
        QTest::newRow("1 MiB and one byte")
            << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n") << mebibyte + 1 << false;
        QTest::newRow("1 MiB") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n")
                               << mebibyte << true;
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
        constexpr qint64 mebibyte = 1024 * 1024;
        QVERIFY2(taken < 16 * mebibyte, qPrintable(QString::number(taken)));
        if (peakReset && before > 0)
            QVERIFY2(growth < 12 * mebibyte, qPrintable(QString::number(growth)));
    }

    void nothingIsWrittenBesideAMissingFolder()
    {
        m_server->body = NewerWithAddress;
        QNetworkAccessManager network;
        const QString missing = m_tempDir.filePath(u"missing"_qs);
        const auto file =
            downloadToTemporaryFile(network, m_server->base().resolved(QUrl(u"version.ini"_qs)),
                                    missing, std::chrono::seconds(5));
        QVERIFY(!file);
        QVERIFY(m_tempDir.files().isEmpty()); // no "missingdane-XXXXXX.ini" beside it
        QVERIFY(!QFileInfo::exists(missing));
    }
};

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
