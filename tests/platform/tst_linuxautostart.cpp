// The XDG autostart entry of the Linux backend in a folder of the test's: which entries count as
// the program's own, how the program's path is quoted, and that a removal spares other entries.
#include "platform/linux/LinuxAutostart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace tockwell::platform;

namespace {

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(contents) == contents.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestLinuxAutostart : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString programFile() const { return m_dir->filePath(u"bin dir/tock$well %1"_qs); }
    QString autostartDir() const { return m_dir->filePath(u"config/autostart"_qs); }
    QString entryFile() const { return autostartDir() + u"/Alarm.desktop"_qs; }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(writeFile(programFile(), "#!/bin/sh\n"));
    }

    void entries_data()
    {
        QTest::addColumn<QByteArray>("entry"); // "PROGRAM" stands for the program's Exec text
        QTest::addColumn<bool>("active");
        const QByteArray head = "[Desktop Entry]\nType=Application\nName=Alarm\n";
        QTest::newRow("plain") << head + "Exec=PROGRAM\n" << true;
        QTest::newRow("plain, comments and blanks")
            << "# ours\n\n" + head + "Exec = PROGRAM \n[Other]\nExec=/bin/false\n"
            << true;
        QTest::newRow("missing file") << head + "Exec=/nonexistent/tockwell\n" << false;
        QTest::newRow("a folder") << head + "Exec=/tmp\n" << false;
        QTest::newRow("field code") << head + "Exec=PROGRAM %U\n" << false;
        QTest::newRow("an argument") << head + "Exec=PROGRAM --hidden\n" << false;
        QTest::newRow("sh -c") << head + "Exec=sh -c \"PROGRAM\"\n" << false;
        QTest::newRow("env variable") << head + "Exec=env TOCK=\\\\$HOME PROGRAM\n" << false;
        QTest::newRow("relative path") << head + "Exec=tockwell\n" << false;
        QTest::newRow("broken quotes") << head + "Exec=\"/bin/true\n" << false;
        QTest::newRow("hidden") << head + "Hidden=true\nExec=PROGRAM\n" << false;
        QTest::newRow("switched off") << head + "X-GNOME-Autostart-enabled=false\nExec=PROGRAM\n"
                                      << false;
        QTest::newRow("no main group") << QByteArray("[Other]\nExec=PROGRAM\n") << false;
        QTest::newRow("not an application")
            << QByteArray("[Desktop Entry]\nType=Link\nExec=PROGRAM\n") << false;
    }
    void entries()
    {
        QFETCH(QByteArray, entry);
        QFETCH(bool, active);
        // The program's path holds a blank, "$" and "%": quoted, escaped and doubled.
        const QString exec = execLineFor(programFile()).replace(u"\\"_qs, u"\\\\"_qs);
        QCOMPARE(exec, u"\"%1\""_qs.arg(
                           programFile().replace(u"$"_qs, u"\\\\$"_qs).replace(u"%"_qs, u"%%"_qs)));
        entry.replace("PROGRAM", exec.toUtf8());
        QVERIFY(writeFile(entryFile(), entry));

        LinuxAutostart autostart(autostartDir());
        QCOMPARE(autostart.isActive(), active);
        // Only the program's own entry is removed; anyone else's stays as it was.
        QVERIFY(autostart.removeIfActive());
        QCOMPARE(QFile::exists(entryFile()), !active);
        if (!active)
            QCOMPARE(readFile(entryFile()), entry);

        // Writing replaces whatever was there with the plain entry for this program.
        QVERIFY(autostart.write(programFile()));
        QCOMPARE(autostart.plainProgram(), programFile());
        QVERIFY(autostart.isActive());
    }

    void execLinesRoundTrip_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("simple") << u"/usr/bin/tockwell"_qs << u"/usr/bin/tockwell"_qs;
        QTest::newRow("blank") << u"/opt/my apps/tockwell"_qs << u"\"/opt/my apps/tockwell\""_qs;
        QTest::newRow("percent") << u"/opt/100%/t"_qs << u"/opt/100%%/t"_qs;
        QTest::newRow("quote, backslash, backquote")
            << u"/a\"b\\c`d"_qs << u"\"/a\\\"b\\\\c\\`d\""_qs;
        QTest::newRow("Polish letters") << u"/home/łódź/zegar"_qs << u"/home/łódź/zegar"_qs;
    }
    void execLinesRoundTrip()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QCOMPARE(execLineFor(program), exec);
        QCOMPARE(splitExecLine(exec), QStringList{program});
        LinuxAutostart entry(autostartDir());
        QVERIFY(entry.write(program));
        QCOMPARE(entry.plainProgram(), program);
    }

    void aFileWhereTheFolderShouldBeRefusesTheWrite()
    {
        QVERIFY(writeFile(autostartDir(), "a file where the folder should be"));
        QVERIFY(!LinuxAutostart(autostartDir()).write(programFile()));
    }

    void anActiveEntryThatCannotBeDeletedIsReported()
    {
        LinuxAutostart autostart(autostartDir());
        QVERIFY(autostart.write(programFile()));
        QVERIFY(QFile::setPermissions(autostartDir(), QFile::ReadOwner | QFile::ExeOwner));
        const bool removed = autostart.removeIfActive();
        QVERIFY(QFile::setPermissions(autostartDir(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        if (::geteuid() == 0)
            QSKIP("root deletes in a read-only folder");
        QVERIFY(!removed);
        QVERIFY(QFile::exists(entryFile()));
    }
};

QTEST_GUILESS_MAIN(TestLinuxAutostart)
#include "tst_linuxautostart.moc"
