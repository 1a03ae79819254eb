// The skin: it takes only a window, fills it, shapes it and lets it be dragged.
#include "core/Error.h"
#include "ui/skin/ImageFile.h"
#include "ui/skin/SkinAssets.h"
#include "ui/skin/SkinWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QResource>
#include <QTest>

using namespace tockwell;

namespace {

/// Sends a mouse event at `local` in the skin, as the window system would.
void send(SkinWidget &skin, QEvent::Type type, QPoint local, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers keys, Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent event(type, local, skin.mapToGlobal(local), button, buttons, keys);
    QApplication::sendEvent(&skin, &event);
}

} // namespace

class TestSkinWidget : public QObject
{
    Q_OBJECT

private slots:
    void onlyOnAForm()
    {
        QWidget form;
        auto *child = new QWidget(&form);
        QVERIFY_THROWS_EXCEPTION(Error, SkinWidget{child});
        QVERIFY_THROWS_EXCEPTION(Error, SkinWidget{nullptr});
        try {
            SkinWidget skin(child);
        } catch (const Error &error) {
            QCOMPARE(error.text(), u"Please Drop on a Form"_qs);
        }
        QVERIFY(child->children().isEmpty());
    }

    void fillsTheFormAndShapesIt()
    {
        QWidget form;
        form.resize(100, 100);
        auto *skin = new SkinWidget(&form);
        QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(skin->isMoveable());
        QCOMPARE(skin->geometry(), form.rect());

        skin->setPicture(setupSkinPicture());
        QCOMPARE(form.size(), QSize(474, 245));
        QCOMPARE(skin->geometry(), QRect(0, 0, 474, 245));

        skin->setMaskRegion(setupSkinMask());
        QCOMPARE(form.mask(), setupSkinMask().region());
        skin->setMaskRegion(WindowShape());
        QVERIFY(form.mask().isEmpty());

        skin->setPicture(QImage()); // an empty picture leaves the size alone
        QCOMPARE(form.size(), QSize(474, 245));
    }

    // The opaque skin is kept in three bytes a pixel, the window's own where the program holds
    // its file, and paints the same pixels as the file decoded.
    void keepsTheSkinSmallWithItsPixels()
    {
        QWidget form;
        auto *skin = new SkinWidget(&form);
        skin->setPicture(setupSkinPicture());
        const QResource file(u":/skin/setup.bmp"_qs);
        const uchar *const pixels = skin->picture().constBits();
        QVERIFY(pixels > file.data() && pixels < file.data() + file.size());
        const QImage decoded = readImage(file.fileName(), "BMP");
        QCOMPARE(skin->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 decoded.convertToFormat(QImage::Format_RGB32));
        skin->setPicture(decoded);
        QCOMPARE(skin->picture().format(), QImage::Format_RGB888);

        QImage translucent(4, 4, QImage::Format_ARGB32);
        translucent.fill(Qt::transparent);
        skin->setPicture(translucent);
        QCOMPARE(skin->picture(), translucent);
    }

    void drag_data()
    {
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<Qt::KeyboardModifiers>("keys");
        QTest::addColumn<bool>("moveable");
        QTest::addColumn<bool>("moves");
        QTest::newRow("left button")
            << Qt::MouseButtons(Qt::LeftButton) << Qt::KeyboardModifiers() << true << true;
        QTest::newRow("with Shift") << Qt::MouseButtons(Qt::LeftButton)
                                    << Qt::KeyboardModifiers(Qt::ShiftModifier) << true << false;
        QTest::newRow("with Ctrl") << Qt::MouseButtons(Qt::LeftButton)
                                   << Qt::KeyboardModifiers(Qt::ControlModifier) << true << false;
        QTest::newRow("with Alt") << Qt::MouseButtons(Qt::LeftButton)
                                  << Qt::KeyboardModifiers(Qt::AltModifier) << true << false;
        QTest::newRow("right button")
            << Qt::MouseButtons(Qt::RightButton) << Qt::KeyboardModifiers() << true << false;
        QTest::newRow("left and right")
            << (Qt::LeftButton | Qt::RightButton) << Qt::KeyboardModifiers() << true << false;
        QTest::newRow("not moveable")
            << Qt::MouseButtons(Qt::LeftButton) << Qt::KeyboardModifiers() << false << false;
    }
    void drag()
    {
        QFETCH(Qt::MouseButtons, buttons);
        QFETCH(Qt::KeyboardModifiers, keys);
        QFETCH(bool, moveable);
        QFETCH(bool, moves);
        QWidget form;
        form.setGeometry(100, 100, 200, 150);
        auto *skin = new SkinWidget(&form);
        skin->setMoveable(moveable);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPoint start = form.pos();

        send(*skin, QEvent::MouseButtonPress, QPoint(50, 40), Qt::LeftButton, {}, Qt::LeftButton);
        send(*skin, QEvent::MouseMove, QPoint(80, 30), buttons, keys);
        QTRY_COMPARE(form.pos(), moves ? start + QPoint(30, -10) : start);
        // The next move goes on from the window's new place.
        send(*skin, QEvent::MouseMove, QPoint(60, 35), buttons, keys);
        QTRY_COMPARE(form.pos(), moves ? start + QPoint(40, -15) : start);
    }
};

QTEST_MAIN(TestSkinWidget)
#include "tst_skinwidget.moc"
