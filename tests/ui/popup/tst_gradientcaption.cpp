#include "ui/popup/GradientCaption.h"

#include <QImage>
#include <QTest>

using namespace tockwell;

namespace {

// Counts the paint events a widget receives.
class PaintCounter final : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

QRgb pixel(const GradientCaption &bar, int x)
{
    return bar.render().toImage().pixel(x, bar.height() / 2) & 0xFFFFFF;
}

} // namespace

class TestGradientCaption : public QObject
{
    Q_OBJECT

private slots:
    void mulDivRoundsHalvesAwayFromZero_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("result");
        QTest::newRow("half up") << 1 << 1 << 2 << 1;
        QTest::newRow("half down negative") << 1 << -1 << 2 << -1;
        QTest::newRow("negative divisor") << 3 << 1 << -2 << -2;
        QTest::newRow("below half") << 5 << 1 << 4 << 1;
        QTest::newRow("above half") << 7 << 1 << 4 << 2;
        QTest::newRow("exact 64-bit product") << 2000000000 << 3 << 4 << 1500000000;
        QTest::newRow("band edge") << 254 << 232 << 255 << 231;
        QTest::newRow("colour step") << 127 << -127 << 254 << -64;
        QTest::newRow("divide by zero") << 5 << 5 << 0 << -1;
    }
    void mulDivRoundsHalvesAwayFromZero()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(int, result);
        QCOMPARE(mulDiv(a, b, c), result);
    }

    void popupBarBands()
    {
        const QRgb grey = qRgb(128, 128, 128);
        const QRgb face = qRgb(240, 240, 240);
        const auto bands = GradientCaption::bands(232, 255, grey, face);
        QCOMPARE(bands.size(), 255u);
        QCOMPARE(bands.front().colour, grey);
        QCOMPARE(bands.back().colour, face);
        QCOMPARE(bands.front().x0, 0);
        QCOMPARE(bands.back().x1, 232);
        const auto empty = std::count_if(bands.begin(), bands.end(),
                                         [](const auto &band) { return band.x0 == band.x1; });
        QCOMPARE(empty, 23);
        for (std::size_t i = 1; i < bands.size(); ++i) {
            QCOMPARE(bands[i].x0, bands[i - 1].x1);
            QVERIFY(qRed(bands[i].colour) >= qRed(bands[i - 1].colour));
        }
    }

    void oneColourIsTheStartColour()
    {
        const auto bands = GradientCaption::bands(100, 1, qRgb(1, 2, 3), qRgb(200, 200, 200));
        QCOMPARE(bands.size(), 1u);
        QCOMPARE(bands.front(), (GradientCaption::Band{0, 100, qRgb(1, 2, 3)}));

        GradientCaption bar;
        bar.resize(50, 25);
        bar.setBeginColor(QColor(10, 20, 30));
        bar.setEndColor(QColor(200, 100, 0));
        bar.setNumberOfColors(1);
        bar.setCaption(QString());
        QCOMPARE(pixel(bar, 49), qRgb(10, 20, 30) & 0xFFFFFF);
        bar.setFillDirection(GradientCaption::FillDirection::RightToLeft);
        QCOMPARE(pixel(bar, 0), qRgb(200, 100, 0) & 0xFFFFFF);
    }

    void directionMirrorsTheBar()
    {
        GradientCaption bar;
        bar.resize(64, 25);
        bar.setNumberOfColors(64); // one pixel per band
        bar.setCaption(QString());
        bar.setBeginColor(QColor(0, 0, 0));
        bar.setEndColor(QColor(255, 255, 255));
        QCOMPARE(pixel(bar, 0), 0x000000u);
        QCOMPARE(pixel(bar, 63), 0xFFFFFFu);
        bar.setFillDirection(GradientCaption::FillDirection::RightToLeft);
        QCOMPARE(pixel(bar, 0), 0xFFFFFFu);
        QCOMPARE(pixel(bar, 63), 0x000000u);
    }

    void moreColoursThanPixels()
    {
        const auto bands = GradientCaption::bands(10, 255, qRgb(0, 0, 0), qRgb(254, 254, 254));
        QVERIFY(std::count_if(bands.begin(), bands.end(),
                              [](const auto &band) { return band.x0 < band.x1; }) == 10);
        QCOMPARE(bands.back().colour, qRgb(254, 254, 254));
        QCOMPARE(bands.back().x1, 10);
    }

    void numberOfColoursIsLimited()
    {
        GradientCaption bar;
        bar.setNumberOfColors(0);
        QCOMPARE(bar.numberOfColors(), 1);
        bar.setNumberOfColors(1000);
        QCOMPARE(bar.numberOfColors(), 255);
    }

    void systemColourFollowsTheScheme()
    {
        GradientCaption bar;
        bar.resize(40, 25);
        bar.setCaption(QString());
        bar.setBeginColor(GradientColor::system(QPalette::Button));
        bar.setEndColor(GradientColor::system(QPalette::Button));
        QPalette scheme = bar.palette();
        scheme.setColor(QPalette::Button, QColor(10, 200, 30));
        bar.setPalette(scheme);
        QCOMPARE(pixel(bar, 20), qRgb(10, 200, 30) & 0xFFFFFF);
        scheme.setColor(QPalette::Button, QColor(90, 0, 90));
        bar.setPalette(scheme);
        QCOMPARE(pixel(bar, 20), qRgb(90, 0, 90) & 0xFFFFFF);
    }

    void constructionDefaults()
    {
        const GradientCaption bar;
        QCOMPARE(bar.size(), QSize(400, 25));
        QCOMPARE(bar.caption(), u"GradientCaption"_qs);
        QVERIFY(bar.captionFont().bold());
        QCOMPARE(bar.textLeft(), 12);
        QCOMPARE(bar.textTop(), 5);
        QCOMPARE(bar.numberOfColors(), 255);
        QCOMPARE(bar.beginColor(), GradientColor(QColor(128, 128, 128)));
        QCOMPARE(bar.endColor(), GradientColor::system(QPalette::Button));
    }

    void settersRedrawAsSaid()
    {
        GradientCaption bar;
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        PaintCounter paints(&bar);
        bar.setFillDirection(GradientCaption::FillDirection::LeftToRight); // already so: no drawing
        QCOMPARE(paints.count, 0);
        bar.setCaption(u"ALARM"_qs); // drawn at once
        QCOMPARE(paints.count, 1);
        bar.setTextLeft(20);
        bar.setTextTop(4);
        QCOMPARE(paints.count, 3);
    }

    void captionIsDrawnOverTheGradient()
    {
        GradientCaption bar;
        bar.resize(232, 25);
        bar.setBeginColor(QColor(128, 128, 128));
        bar.setEndColor(QColor(128, 128, 128));
        const QImage plain = [&] {
            bar.setCaption(QString());
            return bar.render().toImage();
        }();
        bar.setCaption(u"ALARM"_qs);
        const QImage written = bar.render().toImage();
        QVERIFY(plain != written);
        QCOMPARE(written.pixel(5, 12), plain.pixel(5, 12)); // left of TextLeft
    }
};

QTEST_MAIN(TestGradientCaption)
#include "tst_gradientcaption.moc"
