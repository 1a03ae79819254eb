#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Store.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tockwell;

class TestStoreProcesses : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString dbPath() const { return m_dir.filePath(u"settings.db"_qs); }

    std::unique_ptr<QProcess> startWriter(const QString &prefix, int count)
    {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(STORE_WRITER), {dbPath(), prefix, QString::number(count)});
        return process;
    }

private slots:
    void init()
    {
        for (const QString &suffix : {QString(), u"-wal"_qs, u"-shm"_qs})
            QFile::remove(dbPath() + suffix);
    }

    void twoProcessesLoseNoWrite()
    {
        const int count = 400;
        auto first = startWriter(u"www.a"_qs, count);
        auto second = startWriter(u"www.b"_qs, count);
        for (auto *process : {first.get(), second.get()}) {
            QVERIFY(process->waitForFinished(120000));
            QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
        }
        StoreFile file(dbPath());
        const QStringList names = readRecentList(file, keys::WWW_MRU).names;
        QCOMPARE(names.size(), 2 * count + 1);
        for (int i = 0; i < count; ++i) {
            QVERIFY(names.contains(u"www.a%1"_qs.arg(i)));
            QVERIFY(names.contains(u"www.b%1"_qs.arg(i)));
        }
    }

    void killedWriterLeavesASoundStore()
    {
        auto writer = startWriter(u"www.k"_qs, 1000000);
        QByteArray printed;
        while (printed.count('\n') < 100 && writer->waitForReadyRead(30000))
            printed += writer->readAllStandardOutput();
        writer->kill(); // SIGKILL, in the middle of a write
        QVERIFY(writer->waitForFinished(30000));
        printed += writer->readAllStandardOutput();
        QStringList returned = QString::fromUtf8(printed).split(u'\n', Qt::SkipEmptyParts);
        if (!printed.endsWith('\n') && !returned.isEmpty())
            returned.removeLast(); // a line cut by the kill
        QVERIFY(returned.size() >= 100);

        StoreFile file(dbPath());
        QVERIFY(file.isOpen());
        QVERIFY(file.damagedCopy().isEmpty());
        const QStringList names = readRecentList(file, keys::WWW_MRU).names;
        for (const QString &entry : returned)
            QVERIFY2(names.contains(entry), qPrintable(entry));
        rememberEntry(file, keys::WWW_MRU, u"www.after.pl"_qs);
    }
};

QTEST_GUILESS_MAIN(TestStoreProcesses)
#include "tst_storeprocesses.moc"
