// Starting and opening for real: programs run directly, never through a shell; documents,
// folders and web addresses go to the default application of a private XDG configuration.
#include "platform/linux/LinuxShell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell::platform;

class TestShellOpen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir dir(m_dir.path());
        QVERIFY(dir.mkpath(u"data/applications"_qs) && dir.mkpath(u"config"_qs) &&
                dir.mkpath(u"home/a folder"_qs) && dir.mkpath(u"work"_qs));
        // The default application of documents, folders and web addresses: writes what it got.
        writeExecutable(u"probe"_qs,
                        "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$TOCKWELL_PROBE_LOG\"\n");
        writeFile(u"data/applications/tockwell-probe.desktop"_qs,
                  "[Desktop Entry]\nType=Application\nName=Probe\nExec=" +
                      QFile::encodeName(m_dir.filePath(u"probe"_qs)) +
                      " %u\nMimeType=text/plain;inode/directory;x-scheme-handler/http;\n");
        writeFile(u"config/mimeapps.list"_qs,
                  "[Default Applications]\ntext/plain=tockwell-probe.desktop\n"
                  "inode/directory=tockwell-probe.desktop\n"
                  "x-scheme-handler/http=tockwell-probe.desktop\n");
        writeFile(u"home/notes with blanks.txt"_qs, "plain text\n");

        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(u"data"_qs)));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(u"config"_qs)));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_dir.filePath(u"config"_qs)));
        qputenv("HOME", QFile::encodeName(m_dir.filePath(u"home"_qs)));
        qputenv("GIO_USE_VFS", "local");
        qputenv("TOCKWELL_PROBE_LOG", QFile::encodeName(log()));
        QVERIFY(QDir::setCurrent(m_dir.filePath(u"work"_qs)));
    }

    void init() { QFile::remove(log()); }

    void programRunsDirectlyNeverThroughAShell_data()
    {
        QTest::addColumn<bool>("quoted");
        QTest::newRow("as Start stores it") << false;
        QTest::newRow("in quotes, as the preview passes it") << true;
    }
    void programRunsDirectlyNeverThroughAShell()
    {
        QFETCH(bool, quoted);
        const QString name = u"run me; $(touch injected) `touch back` \"q\" 'q' & x.sh"_qs;
        writeExecutable(name, "#!/bin/sh\nprintf 'ran %s\\n' \"$#\" >> \"$TOCKWELL_PROBE_LOG\"\n");
        const QString path = m_dir.filePath(name);
        LinuxShell().open(quoted ? u'"' + path + u'"' : path, QString(), ShowCommand::ShowNormal);
        QTRY_COMPARE(probeLines(), QStringList({u"ran 0"_qs}));
        QTest::qWait(200);
        QCOMPARE(probeLines(), QStringList({u"ran 0"_qs}));
        QCOMPARE(
            QDir(m_dir.filePath(u"work"_qs)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList());
        QVERIFY(!QFile::exists(m_dir.filePath(u"injected"_qs)));
    }

    void documentsFoldersAndAddressesGoToTheDefaultApplication_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("received");
        const QString home = m_dir.filePath(u"home"_qs);
        const QString notes = home + u"/notes with blanks.txt"_qs;
        // The handler's Exec takes %u: local files arrive as paths.
        QTest::newRow("document") << notes << notes;
        QTest::newRow("quoted document") << u'"' + notes + u'"' << notes;
        QTest::newRow("folder") << home + u"/a folder"_qs << home + u"/a folder"_qs;
        QTest::newRow("web address without scheme")
            << u"www.example.com"_qs << u"http://www.example.com"_qs;
    }
    void documentsFoldersAndAddressesGoToTheDefaultApplication()
    {
        QFETCH(QString, target);
        QFETCH(QString, received);
        LinuxShell().open(target, QString(), ShowCommand::ShowNormal);
        QTRY_COMPARE(probeLines(), QStringList({received}));
    }

    void fileManagerOpensTheHomeFolder()
    {
        LinuxShell().openFileManager();
        QTRY_COMPARE(probeLines(), QStringList({QDir::homePath()}));
    }

    void blankBrowserPage()
    {
        LinuxShell().openBlankBrowser();
        QTRY_COMPARE(probeLines(), QStringList({u"about:blank"_qs}));
    }

private:
    QString log() const { return m_dir.filePath(u"probe.log"_qs); }

    QStringList probeLines() const
    {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    void writeFile(const QString &name, const QByteArray &content)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    void writeExecutable(const QString &name, const QByteArray &content)
    {
        writeFile(name, content);
        QFile::setPermissions(m_dir.filePath(name),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestShellOpen)
#include "tst_shellopen.moc"
