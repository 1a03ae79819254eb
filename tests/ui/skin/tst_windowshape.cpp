// The mask stream: its layout, the stored shape of the setup window, and streams that are not
// one.
#include "support/WindowShapeStream.h"
#include "ui/skin/SkinAssets.h"
#include "ui/skin/SkinWidget.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

#include <optional>

using namespace tockwell;
using test::readShape;
using test::shapeStream;

namespace {

QByteArray int32s(std::initializer_list<qint32> values)
{
    QByteArray bytes;
    for (const qint32 value : values) {
        char le[4];
        qToLittleEndian(value, le);
        bytes.append(le, 4);
    }
    return bytes;
}

/// A stream with a size field, a header for `count` rectangles and the given rectangles.
QByteArray stream(qint32 count, const QByteArray &rects, std::optional<qint32> size = {})
{
    // The header's byte count wraps as the 32-bit field it is (a huge count gives garbage).
    const auto rectBytes = qint32(quint32(count) * 16u);
    const QByteArray data = int32s({32, 1, count, rectBytes, 0, 0, 10, 10}) + rects;
    return int32s({size.value_or(qint32(data.size()))}) + data;
}

QByteArray storedMask()
{
    QFile file(u":/skin/setup.rgn"_qs);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestWindowShape : public QObject
{
    Q_OBJECT

private slots:
    void writesTheLayout()
    {
        QRegion shape(QRect(0, 0, 10, 2));
        shape += QRect(2, 2, 6, 3);
        const QByteArray bytes = shapeStream(WindowShape(shape));
        QCOMPARE(bytes, int32s({2 * 16 + 32, 32, 1, 2, 32, 0, 0, 10, 5, //
                                0, 0, 10, 2, 2, 2, 8, 5}));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QRegion>("shape");
        QTest::newRow("one rectangle") << QRegion(3, 4, 20, 10);
        QTest::newRow("negative places") << QRegion(-5, -7, 3, 2);
        QTest::newRow("ellipse") << QRegion(0, 0, 60, 40, QRegion::Ellipse);
        QTest::newRow("with a hole") << QRegion(0, 0, 30, 30).subtracted(QRegion(10, 10, 5, 5));
    }
    void roundTrip()
    {
        QFETCH(QRegion, shape);
        const QByteArray bytes = shapeStream(WindowShape(shape));
        WindowShape readBack;
        QVERIFY(readShape(readBack, bytes));
        QCOMPARE(readBack.region(), shape);
        QCOMPARE(shapeStream(readBack), bytes);
    }

    void noShapeWritesSizeZero() { QCOMPARE(shapeStream(WindowShape()), int32s({0})); }

    void sizeZeroOrLessMeansNoShape_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("0") << int32s({0});
        QTest::newRow("-1") << int32s({-1});
        QTest::newRow("-1 followed by data") << stream(1, int32s({0, 0, 5, 5}), -1);
        QTest::newRow("minimum") << int32s({std::numeric_limits<qint32>::min()});
    }
    void sizeZeroOrLessMeansNoShape()
    {
        QFETCH(QByteArray, bytes);
        WindowShape region(QRegion(0, 0, 5, 5));
        QVERIFY(readShape(region, bytes));
        QVERIFY(region.isEmpty());
    }

    void storedMaskOfTheSetupWindow()
    {
        const QByteArray bytes = storedMask();
        QCOMPARE(bytes.size(), 1060);
        WindowShape region;
        QVERIFY(readShape(region, bytes));
        QCOMPARE(region.region().rectCount(), 64);
        QCOMPARE(region.region().boundingRect(), QRect(QPoint(0, 0), QPoint(472, 244)));
        // The header's bound field says the same: (0, 0)–(473, 245), right and bottom exclusive.
        QCOMPARE(bytes.mid(20, 16), int32s({0, 0, 473, 245}));
        QCOMPARE(shapeStream(region), bytes);
        QCOMPARE(setupSkinMask().region(), region.region());
        // It fits the picture: the corners are cut away, the middle is in.
        QVERIFY(!region.region().contains(QPoint(0, 0)));
        QVERIFY(!region.region().contains(QPoint(472, 244)));
        QVERIFY(region.region().contains(QPoint(237, 120)));
        QCOMPARE(setupSkinPicture().size(), QSize(474, 245));
    }

    void malformedStreamsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray rect = int32s({0, 0, 5, 5});
        const QByteArray good = stream(2, rect + rect);
        QTest::newRow("no size field") << QByteArray();
        QTest::newRow("size field cut") << int32s({36}).left(3);
        QTest::newRow("cut in the header") << good.left(20);
        QTest::newRow("cut in the rectangles") << good.left(good.size() - 1);
        QTest::newRow("size beyond the data") << stream(1, rect, 1000);
        QTest::newRow("huge size") << int32s({std::numeric_limits<qint32>::max()}) + good;
        QTest::newRow("count beyond the size") << stream(5, rect, 48);
        QTest::newRow("huge count") << stream(std::numeric_limits<qint32>::max(), rect, 48);
        QTest::newRow("negative count") << stream(-1, rect, 48);
        QTest::newRow("size beyond the count") << stream(1, rect + rect);
        QTest::newRow("size under the header") << int32s({16, 32, 1, 0, 0});
        QTest::newRow("wrong header size") << int32s({36, 40, 1, 1, 16, 0, 0, 5, 5}) + rect;
        QTest::newRow("wrong type") << int32s({48, 32, 2, 1, 16, 0, 0, 5, 5}) + rect;
        QTest::newRow("right before left") << stream(1, int32s({5, 0, 0, 5}));
        QTest::newRow("bottom before top") << stream(1, int32s({0, 5, 5, 0}));
        QTest::newRow("wider than any window")
            << stream(1, int32s({std::numeric_limits<qint32>::min(), 0, 5, 5}));
        // An empty rectangle at the edge of the coordinates: its right edge (left - 1) does not
        // exist, and a first rectangle that fits does not make the stream acceptable.
        constexpr qint32 min = std::numeric_limits<qint32>::min();
        constexpr qint32 max = std::numeric_limits<qint32>::max();
        QTest::newRow("empty at the lowest coordinate") << stream(1, int32s({min, min, min, min}));
        QTest::newRow("far beyond any screen") << stream(2, rect + int32s({max - 10, 0, max, 5}));
        QTest::newRow("far above any screen") << stream(1, int32s({0, min, 5, min + 10}));
    }
    void malformedStreamsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        WindowShape region(QRegion(0, 0, 5, 5));
        QVERIFY(!readShape(region, bytes));
        QVERIFY(region.isEmpty());
    }
};

QTEST_MAIN(TestWindowShape)
#include "tst_windowshape.moc"
