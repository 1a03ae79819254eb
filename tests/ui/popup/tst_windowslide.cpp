#include "platform/recording/RecordingPlatform.h"
#include "ui/popup/WindowSlide.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace tockwell;
using platform::Recorder;

class TestWindowSlide : public QObject
{
    Q_OBJECT

private slots:
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
        slideWindow(window, platform->display(), 2, 2, 0, true);
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
        slideWindow(window, platform->display(), 0, 10, 50, true);
        QVERIFY(elapsed.elapsed() >= 50);
        QCOMPARE(window.pos(), QPoint(700, 500));
        QCOMPARE(recorder->lines().size(), 2);
    }
};

QTEST_MAIN(TestWindowSlide)
#include "tst_windowslide.moc"
