// Image buttons: which of the five bitmaps is shown after each mouse event, and when the
// button clicks.
#include "ui/skin/ImageButton.h"
#include "ui/skin/ImageFile.h"
#include "ui/skin/SkinAssets.h"
#include "ui/skin/SkinWidget.h"

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

using namespace tockwell;

namespace {

QImage filled(QColor colour, QSize size = QSize(31, 31))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

const QImage Normal = filled(Qt::blue), Over = filled(Qt::green), Down = filled(Qt::darkGreen),
             Up = filled(Qt::yellow), Disabled = filled(Qt::gray);

enum Step
{
    Enter,
    Leave,
    PressLeft,
    ReleaseOver,
    ReleaseOff,
    PressRight,
    ReleaseRightOver,
    Disable,
    Enable
};

void perform(ImageButton &button, Step step)
{
    const QPoint inside(10, 10), outside(100, 100);
    switch (step) {
    case Enter: {
        QEnterEvent event(inside, inside, button.mapToGlobal(inside));
        QApplication::sendEvent(&button, &event);
        break;
    }
    case Leave: {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&button, &event);
        break;
    }
    case PressLeft:
        QTest::mousePress(&button, Qt::LeftButton, {}, inside);
        break;
    case ReleaseOver:
        QTest::mouseRelease(&button, Qt::LeftButton, {}, inside);
        break;
    case ReleaseOff:
        QTest::mouseRelease(&button, Qt::LeftButton, {}, outside);
        break;
    case PressRight:
        QTest::mousePress(&button, Qt::RightButton, {}, inside);
        break;
    case ReleaseRightOver:
        QTest::mouseRelease(&button, Qt::RightButton, {}, inside);
        break;
    case Disable:
        button.setEnabled(false);
        break;
    case Enable:
        button.setEnabled(true);
        break;
    }
}

} // namespace

class TestImageButton : public QObject
{
    Q_OBJECT

private slots:
    void construction()
    {
        ImageButton button;
        QCOMPARE(button.size(), QSize(50, 50));
        QVERIFY(button.shownImage().isNull());
        button.setBitmap(filled(Qt::red, QSize(31, 20)));
        QCOMPARE(button.size(), QSize(31, 20));
        QCOMPARE(button.shownImage(), filled(Qt::red, QSize(31, 20)));
    }

    void imageAfterEvents_data()
    {
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<bool>("withDisabledBitmap");
        QTest::addColumn<QImage>("shown");
        QTest::newRow("nothing") << QList<int>{} << true << Normal;
        QTest::newRow("enter") << QList<int>{Enter} << true << Over;
        QTest::newRow("enter, leave") << QList<int>{Enter, Leave} << true << Normal;
        QTest::newRow("press") << QList<int>{Enter, PressLeft} << true << Down;
        QTest::newRow("release over") << QList<int>{Enter, PressLeft, ReleaseOver} << true << Up;
        QTest::newRow("release off") << QList<int>{Enter, PressLeft, ReleaseOff} << true << Normal;
        QTest::newRow("release over, leave")
            << QList<int>{Enter, PressLeft, ReleaseOver, Leave} << true << Normal;
        QTest::newRow("right button changes nothing")
            << QList<int>{Enter, PressRight, ReleaseRightOver} << true << Over;
        QTest::newRow("disabled with its bitmap") << QList<int>{Disable} << true << Disabled;
        QTest::newRow("disabled without one keeps the current image")
            << QList<int>{Enter, Disable} << false << Over;
        QTest::newRow("disabled: enter does nothing")
            << QList<int>{Disable, Enter, Enable} << true << Normal;
        QTest::newRow("disabled: leave does nothing")
            << QList<int>{Enter, Disable, Leave, Enable} << true << Over;
        QTest::newRow("disabled: press does nothing")
            << QList<int>{Disable, PressLeft, Enable} << false << Normal;
        QTest::newRow("enabled again") << QList<int>{Disable, Enable} << true << Normal;
    }
    void imageAfterEvents()
    {
        QFETCH(QList<int>, steps);
        QFETCH(bool, withDisabledBitmap);
        QFETCH(QImage, shown);
        QWidget window;
        window.resize(200, 200);
        auto *button = new ImageButton(&window);
        button->setBitmap(Normal);
        button->setBitmapOver(Over);
        button->setBitmapDown(Down);
        button->setBitmapUp(Up);
        if (withDisabledBitmap)
            button->setBitmapDisabled(Disabled);
        window.show();
        for (const int step : steps)
            perform(*button, Step(step));
        QCOMPARE(button->shownImage(), shown);
        QCOMPARE(button->grab().toImage().convertToFormat(QImage::Format_RGB32), shown);
    }

    void releaseOverWithoutUpBitmapShowsOver()
    {
        ImageButton button;
        button.setBitmap(Normal);
        button.setBitmapOver(Over);
        button.show();
        perform(button, PressLeft);
        perform(button, ReleaseOver);
        QCOMPARE(button.shownImage(), Over);
    }

    void hiddenButtonComesBackNormal()
    {
        ImageButton button;
        button.setBitmap(Normal);
        button.setBitmapOver(Over);
        button.show();
        perform(button, Enter);
        button.hide();
        button.show();
        QCOMPARE(button.shownImage(), Normal);
    }

    // The skin's buttons read their state bitmaps when first shown, show them at the event
    // itself, and drop them when hidden.
    void stateBitmapsAreReadWhenFirstShown()
    {
        const auto file = [](const char *state) {
            return readImage(u":/skin/ib_Opcje"_qs + QLatin1String(state) + u".bmp"_qs, "BMP");
        };
        QWidget window;
        window.resize(200, 200);
        auto *button = new ImageButton(&window);
        loadButtonBitmaps(*button, u"ib_Opcje"_qs);
        window.show();
        QCOMPARE(button->decodedStates(), 0);
        QCOMPARE(button->shownImage(), file(""));

        perform(*button, Enter);
        QCOMPARE(button->decodedStates(), 1);
        QCOMPARE(button->grab().toImage().convertToFormat(QImage::Format_RGB32), file("_over"));
        perform(*button, PressLeft);
        QCOMPARE(button->shownImage(), file("_down"));
        perform(*button, ReleaseOver);
        QCOMPARE(button->shownImage(), file("_up"));
        perform(*button, Disable);
        QCOMPARE(button->grab().toImage().convertToFormat(QImage::Format_RGB32), file("_disabled"));
        QCOMPARE(button->decodedStates(), 4);

        window.hide();
        QCOMPARE(button->decodedStates(), 0);
        perform(*button, Enable);
        window.show();
        QCOMPARE(button->shownImage(), file(""));
        QVERIFY(!button->bitmapUp().isNull()); // read again when asked for
    }

    void clicksOnlyWhenEnabled()
    {
        QWidget window;
        auto *button = new ImageButton(&window);
        button->setBitmap(Normal);
        window.show();
        QSignalSpy clicks(button, &ImageButton::clicked);
        QSignalSpy downs(button, &ImageButton::mouseDown);
        QSignalSpy ups(button, &ImageButton::mouseUp);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        button->click();
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(downs.size(), 1);
        QCOMPARE(ups.size(), 1);

        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(clicks.size(), 2); // released off the button

        button->setEnabled(false);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        button->click();
        QCOMPARE(clicks.size(), 2);
    }
};

QTEST_MAIN(TestImageButton)
#include "tst_imagebutton.moc"
