// The recording platform's log: in memory for the tests in the process, in a file for a program
// that records (TOCKWELL_PLATFORM=record:FILE), which may run for hours.
#include "platform/recording/Recorder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell::platform;

class TestRecorder : public QObject
{
    Q_OBJECT

private slots:
    void withoutAFileTheLinesAreKept()
    {
        Recorder recorder;
        recorder.record(u"ShowDesktop"_qs);
        recorder.record(u"Beep"_qs);
        QCOMPARE(recorder.lines(), (QStringList{u"ShowDesktop"_qs, u"Beep"_qs}));
        recorder.clear();
        QVERIFY(recorder.lines().isEmpty());
    }

    void withAFileEveryLineIsWrittenAtOnceAndNoneKept()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath(u"calls.log"_qs);
        Recorder recorder(path);
        for (int i = 0; i < 1000; ++i)
            recorder.record(u"ShellOpen \"www.example.pl\" -> ok"_qs);
        recorder.record(u"Zażółć \"gęślą\""_qs);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly)); // flushed: readable while the recorder lives
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 1002); // the last line ends in a line break too
        QCOMPARE(QString::fromUtf8(lines[1000]), u"Zażółć \"gęślą\""_qs);
        QVERIFY(recorder.lines().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRecorder)
#include "tst_recorder.moc"
