#include "engine/SystemOperations.h"
#include "platform/recording/RecordingPlatform.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace tockwell;
using platform::Recorder;

class TestSystemOperations : public QObject
{
    Q_OBJECT

private slots:
    void slidePaths_data()
    {
        QTest::addColumn<int>("areaHeight");
        QTest::addColumn<int>("windowHeight");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("in");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("lastStep");
        QTest::addColumn<int>("end");
        QTest::newRow("popup in") << 768 << 173 << 2 << true << 86 << 768 - 172 << 768 - 173;
        QTest::newRow("popup out") << 768 << 173 << 2 << false << 86 << 767 << 768;
        QTest::newRow("1 px in") << 768 << 1 << 2 << true << 1 << 766 << 767;
        QTest::newRow("1 px out") << 768 << 1 << 2 << false << 1 << 769 << 768;
        QTest::newRow("even height") << 600 << 100 << 2 << true << 49 << 502 << 500;
        QTest::newRow("step larger than window") << 600 << 10 << 25 << true << 1 << 575 << 590;
        QTest::newRow("step 0 still arrives") << 100 << 3 << 0 << true << 2 << 98 << 97;
    }
    void slidePaths()
    {
        QFETCH(int, areaHeight);
        QFETCH(int, windowHeight);
        QFETCH(int, step);
        QFETCH(bool, in);
        QFETCH(int, steps);
        QFETCH(int, lastStep);
        QFETCH(int, end);
        const SlidePath path = slidePath(areaHeight, windowHeight, step, in);
        QCOMPARE(path.start, in ? areaHeight : areaHeight - windowHeight);
        QCOMPARE(int(path.steps.size()), steps);
        QCOMPARE(path.steps.back(), lastStep);
        QCOMPARE(path.end, end);
    }

    void slideWindowEndsInTheCornerAndKeepsTheLoopRunning_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QPoint>("end");
        QTest::newRow("panel at the bottom")
            << u"0 0 1024 740"_qs << QPoint(1024 - 232, 740) << QPoint(1024 - 232, 740 - 173);
        QTest::newRow("panel at the top")
            << u"0 26 1280 774"_qs << QPoint(1280 - 232, 800) << QPoint(1280 - 232, 800 - 173);
        QTest::newRow("dock at the left")
            << u"64 0 1216 800"_qs << QPoint(1280 - 232, 800) << QPoint(1280 - 232, 800 - 173);
        QTest::newRow("primary screen on the right")
            << u"1024 26 1280 774"_qs << QPoint(2304 - 232, 800) << QPoint(2304 - 232, 800 - 173);
        QTest::newRow("primary screen above")
            << u"0 -768 1024 740"_qs << QPoint(1024 - 232, -28) << QPoint(1024 - 232, -28 - 173);
    }
    void slideWindowEndsInTheCornerAndKeepsTheLoopRunning()
    {
        QFETCH(QString, area);
        QFETCH(QPoint, start);
        QFETCH(QPoint, end);
        auto recorder = std::make_shared<Recorder>();
        auto platform = platform::makeRecordingPlatform(recorder);
        recorder->script(u"WorkArea"_qs, area);
        QWidget window(nullptr, Qt::FramelessWindowHint);
        window.resize(232, 173);
        window.show();

        int timerEvents = 0;
        QTimer other;
        QObject::connect(&other, &QTimer::timeout, [&] { ++timerEvents; });
        other.start(5);
        QList<QPoint> places;
        const QMetaObject::Connection watching =
            QObject::connect(&other, &QTimer::timeout, [&] { places.append(window.pos()); });
        QElapsedTimer elapsed;
        elapsed.start();
        SlideWindow(window, platform->display(), 2, 2, 0, true);
        QObject::disconnect(watching);
        QVERIFY(elapsed.elapsed() >= 86 * 2);
        QVERIFY(timerEvents > 0);
        QCOMPARE(window.pos(), end);
        // It rises straight up from the area's bottom edge, right-aligned with the area.
        QVERIFY(!places.isEmpty());
        for (const QPoint &place : places) {
            QCOMPARE(place.x(), start.x());
            QVERIFY2(place.y() < start.y() && place.y() >= end.y(),
                     qPrintable(u"%1"_qs.arg(place.y())));
        }
        QCOMPARE(recorder->lines(), QStringList{u"WorkArea -> "_qs + area});
    }

    void slideWithHoldGoesBackBelowTheEdge()
    {
        auto recorder = std::make_shared<Recorder>();
        auto platform = platform::makeRecordingPlatform(recorder);
        recorder->script(u"WorkArea"_qs, u"0 0 800 600"_qs);
        recorder->script(u"WorkArea"_qs, u"0 0 800 500"_qs); // read anew for the way out
        QWidget window;
        window.resize(100, 50);
        QElapsedTimer elapsed;
        elapsed.start();
        SlideWindow(window, platform->display(), 0, 10, 50, true);
        QVERIFY(elapsed.elapsed() >= 50);
        QCOMPARE(window.pos(), QPoint(700, 500));
        QCOMPARE(recorder->lines().size(), 2);
    }

    void tokenPrivilegeReportsThroughItsResult()
    {
        auto recorder = std::make_shared<Recorder>();
        auto platform = platform::makeRecordingPlatform(recorder);
        QVERIFY(SetTokenPrivilege(platform->session(), u"SeShutdownPrivilege"_qs, true));
        recorder->script(u"AdjustPrivilege"_qs,
                         u"error 1313 A specified privilege does not exist."_qs);
        QVERIFY(!SetTokenPrivilege(platform->session(), u"SeNoSuchPrivilege"_qs, false));
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
        CdTrayDoor(platform->opticalDrives(), u"D"_qs, operation);
        QCOMPARE(recorder->lines(), QStringList{line});
    }
};

QTEST_MAIN(TestSystemOperations)
#include "tst_systemoperations.moc"
