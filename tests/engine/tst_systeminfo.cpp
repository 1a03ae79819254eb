#include "engine/SystemInfo.h"
#include "support/OwnTempDirectory.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>

#include <unistd.h>

using namespace tockwell;

class TestSystemInfo : public QObject
{
    Q_OBJECT

    test::OwnTempDirectory m_tempDir; // the system's temporary directory for these tests

private slots:
    void initTestCase() { QVERIFY(m_tempDir.use()); }

    void aMissingOrForeignTmpdirFallsBackToTmp_data()
    {
        QTest::addColumn<QString>("tmpdir");
        QTest::addColumn<bool>("used");
        QTest::newRow("own folder") << m_tempDir.path() << true;
        QTest::newRow("missing") << m_tempDir.path() + u"/missing"_qs << false;
        QTest::newRow("a file") << u"/proc/self/status"_qs << false;
        QTest::newRow("relative") << u"tmp"_qs << false;
        QTest::newRow("empty") << QString() << false;
        // Root's folder for anybody else; for root, a folder given to "nobody".
        QString foreign = u"/"_qs;
        if (::geteuid() == 0) {
            foreign = m_tempDir.filePath(u"foreign"_qs);
            QVERIFY(QDir().mkpath(foreign));
            QVERIFY(::chown(QFile::encodeName(foreign).constData(), 65534, 65534) == 0);
        }
        QTest::newRow("another user's folder") << foreign << false;
    }
    void aMissingOrForeignTmpdirFallsBackToTmp()
    {
        QFETCH(QString, tmpdir);
        QFETCH(bool, used);
        const auto restore = qScopeGuard([this] { m_tempDir.use(); });
        qputenv("TMPDIR", tmpdir.toLocal8Bit());
        QCOMPARE(systeminfo::tempDirectory(), used ? tmpdir + u'/' : u"/tmp/"_qs);
    }

    void utilities()
    {
        QCOMPARE(systeminfo::versionString(), u"1.5.0.17"_qs);
        QCOMPARE(systeminfo::tempDirectory(), m_tempDir.path() + u'/');
    }
};

QTEST_GUILESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"
