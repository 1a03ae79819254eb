// The optical drives from the kernel's list of block devices, in a folder tree made here.
#include "platform/linux/CdDrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell::platform;

class TestCdDrives : public QObject
{
    Q_OBJECT

private slots:
    void cdDrivesFromTheKernelsList()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(u"sys/class/block"_qs) && dir.mkpath(u"dev"_qs));
        for (const QString &name : {u"sr1"_qs, u"sr0"_qs, u"sda"_qs, u"sr12"_qs})
            QVERIFY(dir.mkdir(u"sys/class/block/"_qs + name));
        CdDrives drives(root.path());
        QCOMPARE(drives.drives(), QStringList({u"0"_qs, u"1"_qs}));
        QCOMPARE(drives.devicePath(u"1"_qs), root.path() + u"/dev/sr1"_qs);
        for (const QString &bad : {u""_qs, u"D"_qs, u"01"_qs, u"/"_qs, u"٣"_qs})
            QVERIFY2(drives.devicePath(bad).isEmpty(), qPrintable(bad));

        // A device file that is no drive, and a drive that is not there: nothing, quietly.
        QFile notADrive(root.path() + u"/dev/sr0"_qs);
        QVERIFY(notADrive.open(QIODevice::WriteOnly));
        notADrive.close();
        drives.setDoor(u"0"_qs, true);
        drives.setDoor(u"1"_qs, false);
        drives.setDoor(u"D"_qs, true);
        QCOMPARE(QFileInfo(notADrive).size(), 0);
        QVERIFY(CdDrives(root.path() + u"/nothing"_qs).drives().isEmpty());
    }
};

QTEST_MAIN(TestCdDrives)
#include "tst_cddrives.moc"
