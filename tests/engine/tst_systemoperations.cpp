#include "engine/SystemOperations.h"
#include "platform/recording/RecordingPlatform.h"

#include <QTest>

using namespace tockwell;
using platform::Recorder;

class TestSystemOperations : public QObject
{
    Q_OBJECT

private slots:
    void tokenPrivilegeReportsThroughItsResult()
    {
        auto recorder = std::make_shared<Recorder>();
        auto platform = platform::makeRecordingPlatform(recorder);
        QVERIFY(setPrivilege(platform->session(), u"SeShutdownPrivilege"_qs, true));
        recorder->script(u"AdjustPrivilege"_qs,
                         u"error 1313 A specified privilege does not exist."_qs);
        QVERIFY(!setPrivilege(platform->session(), u"SeNoSuchPrivilege"_qs, false));
        QCOMPARE(recorder->lines().back(),
                 u"AdjustPrivilege \"SeNoSuchPrivilege\" disable -> error 1313 A specified "_qs
                 "privilege does not exist."_qs);
    }

    void cdTrayDoorOpensOnlyForOne_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("line");
        QTest::newRow("1") << u"1"_qs << u"CdDoor \"D\" open"_qs;
        QTest::newRow("0") << u"0"_qs << u"CdDoor \"D\" close"_qs;
        QTest::newRow(";") << u";"_qs << u"CdDoor \"D\" close"_qs;
        QTest::newRow("empty") << QString() << u"CdDoor \"D\" close"_qs;
    }
    void cdTrayDoorOpensOnlyForOne()
    {
        QFETCH(QString, operation);
        QFETCH(QString, line);
        auto recorder = std::make_shared<Recorder>();
        auto platform = platform::makeRecordingPlatform(recorder);
        moveCdTray(platform->opticalDrives(), u"D"_qs, operation);
        QCOMPARE(recorder->lines(), QStringList{line});
    }
};

QTEST_MAIN(TestSystemOperations)
#include "tst_systemoperations.moc"
