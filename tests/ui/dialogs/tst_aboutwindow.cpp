#include "platform/recording/RecordingPlatform.h"
#include "support/OwnTempDirectory.h"
#include "support/TinyHttpServer.h"
#include "support/UpdateFiles.h"
#include "ui/dialogs/AboutWindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;
using platform::Recorder;
using test::NewerWithAddress;

class TestAboutWindow : public QObject
{
    Q_OBJECT

    test::OwnTempDirectory m_tempDir; // the system's temporary directory for these tests
    QTemporaryDir m_programDir;
    std::shared_ptr<Recorder> m_recorder;
    std::unique_ptr<platform::Platform> m_platform;
    std::unique_ptr<QWidget> m_setupWindow;
    std::unique_ptr<TinyHttpServer> m_server;
    bool m_online = true;
    std::unique_ptr<AboutWindow> m_about;

    void makeWindow(std::chrono::milliseconds limit = std::chrono::milliseconds(5000),
                    const QString &networkLibrary = QStringLiteral(TOCKWELL_NETWORK_LIBRARY))
    {
        m_about = std::make_unique<AboutWindow>(
            *m_platform, *m_setupWindow,
            AboutSettings{m_programDir.path(), m_server->base(), [this] { return m_online; }, limit,
                          std::make_shared<NetworkLibrary>(networkLibrary)});
    }
    void open()
    {
        m_setupWindow->setEnabled(false);
        m_about->show();
    }
    template <typename T = QWidget> T *child(const char *name) const
    {
        return m_about->findChild<T *>(QString::fromLatin1(name));
    }
    bool updateOffered() const { return !child("sb_DownUpdate")->isHidden(); }
private slots:
    void initTestCase() { QVERIFY(m_tempDir.use()); }
    void init()
    {
        m_recorder = std::make_shared<Recorder>();
        m_platform = platform::makeRecordingPlatform(m_recorder);
        m_setupWindow = std::make_unique<QWidget>();
        m_server = std::make_unique<TinyHttpServer>();
        m_online = true;
        makeWindow();
    }
    void cleanup()
    {
        m_about.reset();
        m_server.reset();
        QVERIFY(m_tempDir.files().isEmpty());
    }

    // The window.

    void theWindowAndItsLayout()
    {
        m_online = false;
        open();
        if (qEnvironmentVariableIsSet("ABOUT_GRAB"))
            m_about->grab().save(qEnvironmentVariable("ABOUT_GRAB"));
        QCOMPARE(m_about->windowTitle(), u"O programie ..."_qs);
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
        QCOMPARE(m_about->width() - 1 - ok.right(), 16);
        QCOMPARE(ok.left() - 1 - help.right(), 16);
        QCOMPARE(update.left(), 8);
        QCOMPARE(update.width(), help.left() - 16);
        QCOMPARE(ok.top(), child("a_l_9")->geometry().bottom() + 1 + 16);
        QCOMPARE(m_about->height(), ok.bottom() + 1 + 16);
        QCOMPARE(child<QPushButton>("sb_DownUpdate")->text(),
                 u"Dostępna jest nowa wersja programu"_qs);
        QVERIFY(!updateOffered());
    }

    void helpButtonEscAndClosing()
    {
        m_online = false;
        open();
        QVERIFY(child("sb_Pomoc")->isHidden());
        QTest::keyClick(m_about.get(), Qt::Key_F1);
        QVERIFY(m_about->isVisible());
        QTest::keyClick(m_about.get(), Qt::Key_Escape);
        QVERIFY(!m_about->isVisible());
        QVERIFY(m_setupWindow->isEnabled());

        // Decided at every showing.
        QVERIFY(QDir(m_programDir.path()).mkpath(u"help"_qs));
        QFile page(m_programDir.filePath(u"help/tockwell.html"_qs));
        QVERIFY(page.open(QIODevice::WriteOnly));
        open();
        QVERIFY(!child("sb_Pomoc")->isHidden());
        QTest::mouseClick(child("sb_Pomoc"), Qt::LeftButton);
        QTest::mouseClick(child("sb_OK"), Qt::LeftButton);
        QVERIFY(!m_about->isVisible());
        QVERIFY(m_setupWindow->isEnabled());
        QCOMPARE(m_recorder->lines(),
                 QStringList{u"ShellOpen \"%1\" \"\" maximized"_qs.arg(page.fileName())});
        QVERIFY(m_server->paths.isEmpty());
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
        m_server->status = status;
        m_server->body = body;
        bool visibleDuringCheck = true;
        m_server->onRequest = [&] { visibleDuringCheck = m_about->isVisible(); };
        open();
        QCOMPARE(m_server->paths, QStringList{u"/version.ini"_qs});
        QVERIFY(!visibleDuringCheck); // the window appears when the check has ended
        QVERIFY(m_about->isVisible());
        QCOMPARE(updateOffered(), offered);
        QCOMPARE(m_about->updateInfo().homePage, homePage);
        QVERIFY(m_tempDir.files().isEmpty());

        // The links open their addresses.
        m_recorder->clear();
        emit child<QLabel>("a_l_9")->linkActivated(u"#"_qs);
        QCOMPARE(m_recorder->lines(),
                 QStringList{u"ShellOpen \"%1\" \"\" maximized"_qs.arg(homePage)});
        if (offered) {
            QCOMPARE(child("sb_DownUpdate")->toolTip(), u"Poprawki budzika"_qs);
            QVERIFY(!child("a_l_CV")->isHidden());
            m_recorder->clear();
            QTest::mouseClick(child("sb_DownUpdate"), Qt::LeftButton);
            QCOMPARE(
                m_recorder->lines(),
                QStringList{
                    u"ShellOpen \"https://www.kestrolab.pl/pobierz/tockwell.tar.gz\" \"\" normal"_qs});
        }

        // Once per run: the results stay, no second request.
        m_about->close();
        m_server->body = "[Tockwell]\nversion=1.0.0.0\nurl=\n";
        open();
        QCOMPARE(m_server->paths.size(), 1);
        QCOMPARE(updateOffered(), offered);
    }

    void aServerThatNeverAnswersCountsAsAFailedDownload()
    {
        using namespace std::chrono_literals;
        makeWindow(800ms);
        m_server->silent = true;
        QElapsedTimer timer;
        timer.start();
        open();
        QVERIFY(timer.elapsed() >= 700);
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(m_server->paths.size(), 1);
        QVERIFY(m_about->isVisible());
        QVERIFY(!updateOffered());
        QCOMPARE(m_about->updateInfo().homePage, u"https://www.kestrolab.pl/"_qs);
        // The check counts as made.
        m_about->close();
        m_server->silent = false;
        m_server->body = NewerWithAddress;
        open();
        QCOMPARE(m_server->paths.size(), 1);
    }

    void withoutTheNetworkLibraryTheCheckFailsQuietly()
    {
        makeWindow(std::chrono::milliseconds(5000), m_programDir.filePath(u"none.so"_qs));
        m_server->body = NewerWithAddress;
        open();
        QVERIFY(m_about->isVisible());
        QVERIFY(m_server->paths.isEmpty());
        QVERIFY(!updateOffered());
        QCOMPARE(m_about->updateInfo().homePage, u"https://www.kestrolab.pl/"_qs);
        QVERIFY(m_recorder->lines().filter(u"MessageBox"_qs).isEmpty());
    }

    void offlineFirstThenOnline()
    {
        m_server->body = NewerWithAddress;
        m_online = false;
        open();
        QVERIFY(m_server->paths.isEmpty());
        QVERIFY(!updateOffered());
        m_about->close();
        m_online = true;
        open();
        QCOMPARE(m_server->paths.size(), 1);
        QVERIFY(updateOffered());
        m_about->close();
        open();
        QCOMPARE(m_server->paths.size(), 1);
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
        m_server->body = "[Tockwell]\nversion=9.0.0.0\nurl=" + address +
                         "\n[dane]\nKestrolabHomePage=" + address + "\nCV_File=" + address + "\n";
        open();
        QVERIFY(!updateOffered());
        QMetaObject::invokeMethod(child("sb_DownUpdate"), "click");
        emit child<QLabel>("a_l_9")->linkActivated(u"#"_qs);
        emit child<QLabel>("a_l_CV")->linkActivated(u"#"_qs);
        QVERIFY(m_recorder->lines().isEmpty());
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
