#include "core/SlidePath.h"

#include <QTest>

using namespace tockwell;

class TestSlidePath : public QObject
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
};

QTEST_APPLESS_MAIN(TestSlidePath)
#include "tst_slidepath.moc"
