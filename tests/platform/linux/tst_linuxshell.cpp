// How a target and its parameters become a program started with an argument list, a document
// or folder, or a web address, decided without starting anything (tst_shellopen starts and
// opens for real).
#include "platform/linux/LinuxShell.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell::platform;
using Kind = OpenRequest::Kind;

class TestLinuxShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeFile(u"notes with blanks.txt"_qs, false);
        writeFile(u"tool; $(touch x) \"q\".sh"_qs, true);
        QVERIFY(QDir(m_dir.path()).mkdir(u"a folder"_qs));
    }

    void openRequests_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected"); // program path or URL
        const QString dir = m_dir.path() + u'/';
        const QString tool = dir + u"tool; $(touch x) \"q\".sh"_qs;
        const QString notes = dir + u"notes with blanks.txt"_qs;
        QTest::newRow("program") << tool << int(Kind::Program) << tool;
        QTest::newRow("program in quotes") << u'"' + tool + u'"' << int(Kind::Program) << tool;
        QTest::newRow("document") << notes << int(Kind::Document)
                                  << QUrl::fromLocalFile(notes).toString(QUrl::FullyEncoded);
        QTest::newRow("document in quotes (the preview's form)")
            << u'"' + notes + u'"' << int(Kind::Document)
            << QUrl::fromLocalFile(notes).toString(QUrl::FullyEncoded);
        QTest::newRow("folder")
            << dir + u"a folder"_qs << int(Kind::Document)
            << QUrl::fromLocalFile(dir + u"a folder"_qs).toString(QUrl::FullyEncoded);
        QTest::newRow("missing file stays a file")
            << u"/nonexistent/x.txt"_qs << int(Kind::Document) << u"file:///nonexistent/x.txt"_qs;
        QTest::newRow("program on the PATH")
            << u"sh"_qs << int(Kind::Program) << QStandardPaths::findExecutable(u"sh"_qs);
        QTest::newRow("address without scheme")
            << u"www.example.com"_qs << int(Kind::Web) << u"http://www.example.com"_qs;
        QTest::newRow("address with a path")
            << u"example.com/a b"_qs << int(Kind::Web) << u"http://example.com/a%20b"_qs;
        QTest::newRow("host and port")
            << u"localhost:8080"_qs << int(Kind::Web) << u"http://localhost:8080"_qs;
        QTest::newRow("https kept")
            << u"https://example.com/x?y=1"_qs << int(Kind::Web) << u"https://example.com/x?y=1"_qs;
        QTest::newRow("mailto kept")
            << u"mailto:a@example.com"_qs << int(Kind::Web) << u"mailto:a@example.com"_qs;
    }
    void openRequests()
    {
        QFETCH(QString, target);
        QFETCH(int, kind);
        QFETCH(QString, expected);
        const OpenRequest request = openRequest(target, QString());
        QCOMPARE(int(request.kind), kind);
        if (request.kind == Kind::Program) {
            QCOMPARE(request.program, expected);
            QVERIFY(request.arguments.isEmpty());
        } else {
            QCOMPARE(request.url.toString(QUrl::FullyEncoded), expected);
        }
    }

    void programArgumentsAreSplitNotInterpreted()
    {
        const OpenRequest request = openRequest(u"sh"_qs, u"-c \"echo $(id)\" 'a;b' plain"_qs);
        QCOMPARE(request.arguments,
                 QStringList({u"-c"_qs, u"echo $(id)"_qs, u"'a;b'"_qs, u"plain"_qs}));
    }

private:
    void writeFile(const QString &name, bool executable)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestLinuxShell)
#include "tst_linuxshell.moc"
