#include "ui/setup/ClockGroupBox.h"

#include <QPaintEvent>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTest>

#include <memory>

using namespace tockwell;

namespace {

/// Keeps the regions of the paint events that a widget receives.
class PaintLog final : public QObject
{
public:
    QRegion painted;
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent *>(event)->region();
            ++count;
        }
        return false;
    }
};

QImage picture(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestClockGroupBox : public QObject
{
    Q_OBJECT

private slots:
    void looksLikeAGroupBoxWithThatTitle_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("shown");
        const QString clock = u" W tej chwili jest: 00:00:00 "_qs;
        QTest::newRow("fusion") << u"Fusion"_qs << clock << u" W tej chwili jest: 14:05:09 "_qs;
        QTest::newRow("fusion, longer")
            << u"Fusion"_qs << clock << u" W tej chwili jest: 2:05:09 PM CET "_qs;
        QTest::newRow("fusion, shorter") << u"Fusion"_qs << clock << u" 1:1 "_qs;
        QTest::newRow("fusion, none") << u"Fusion"_qs << clock << QString();
        QTest::newRow("fusion, from none") << u"Fusion"_qs << QString() << clock;
        QTest::newRow("windows") << u"Windows"_qs << clock << u" W tej chwili jest: 14:05:09 "_qs;
    }

    void looksLikeAGroupBoxWithThatTitle()
    {
        QFETCH(QString, style);
        QFETCH(QString, first);
        QFETCH(QString, shown);
        const std::unique_ptr<QStyle> theStyle(QStyleFactory::create(style));
        QVERIFY(theStyle);
        ClockGroupBox clockBox(first, nullptr);
        QGroupBox plainBox(shown);
        for (QGroupBox *box : {static_cast<QGroupBox *>(&clockBox), &plainBox}) {
            box->setStyle(theStyle.get());
            box->resize(214, 196);
        }
        clockBox.setCaption(shown);
        QCOMPARE(clockBox.caption(), shown);
        QCOMPARE(clockBox.accessibleName(), shown);
        QCOMPARE(picture(clockBox), picture(plainBox));
        clockBox.setEnabled(false);
        plainBox.setEnabled(false);
        QCOMPARE(picture(clockBox), picture(plainBox));
    }

    void aNewCaptionRepaintsItsTextAlone()
    {
        ClockGroupBox box(u" W tej chwili jest: 12:00:00 "_qs, nullptr);
        box.resize(214, 196);
        auto *radio = new QRadioButton(u"uruchom alarm o godzinie:"_qs, &box);
        radio->setGeometry(8, 20, 200, 18);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QWidget *text = nullptr;
        for (QWidget *child : box.findChildren<QWidget *>())
            if (child != radio)
                text = child;
        QVERIFY(text);
        QTest::qWait(50);

        PaintLog boxPaints;
        PaintLog radioPaints;
        PaintLog textPaints;
        box.installEventFilter(&boxPaints);
        radio->installEventFilter(&radioPaints);
        text->installEventFilter(&textPaints);
        box.setCaption(u" W tej chwili jest: 12:00:01 "_qs);
        QTRY_VERIFY(textPaints.count > 0);
        QTest::qWait(50);
        QCOMPARE(radioPaints.count, 0);
        // The box paints only what lies beneath the text: its frame is left alone.
        QVERIFY(!boxPaints.painted.isEmpty());
        QCOMPARE(boxPaints.painted.subtracted(text->geometry()), QRegion());

        // From then on the text keeps what lies beneath it: the box is not painted at all, and
        // the text looks as a group box's title does.
        boxPaints.painted = QRegion();
        boxPaints.count = 0;
        const int textPaintsBefore = textPaints.count;
        box.setCaption(u" W tej chwili jest: 12:00:02 "_qs);
        QTRY_VERIFY(textPaints.count > textPaintsBefore);
        QTest::qWait(50);
        QCOMPARE(boxPaints.count, 0);
        QGroupBox plainBox(box.caption());
        plainBox.resize(box.size());
        QCOMPARE(picture(box).copy(text->geometry()), picture(plainBox).copy(text->geometry()));
    }
};

QTEST_MAIN(TestClockGroupBox)
#include "tst_clockgroupbox.moc"
