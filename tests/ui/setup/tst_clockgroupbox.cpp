#include "ui/setup/ClockGroupBox.h"

#include <QPaintEvent>
#include <QRadioButton>
#include <QScreen>
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
        // A second later only the last digit's place is painted.
        textPaints.painted = QRegion();
        box.setCaption(u" W tej chwili jest: 12:00:03 "_qs);
        QTRY_VERIFY(!textPaints.painted.isEmpty());
        QVERIFY2(
            textPaints.painted.boundingRect().width() < text->width() / 8,
            qPrintable(u"painted %1 of %2 pixels"_qs.arg(textPaints.painted.boundingRect().width())
                           .arg(text->width())));
        QGroupBox plainBox(box.caption());
        plainBox.resize(box.size());
        QCOMPARE(picture(box).copy(text->geometry()), picture(plainBox).copy(text->geometry()));
    }

    // What the screen shows after a run of captions, each painting only what changed, is the
    // last caption as a group box's title, on the window beneath it.
    void theShownClockIsTheTitleDrawnAfresh_data()
    {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<bool>("enabled");
        const auto clock = [](QStringList times) {
            for (QString &time : times)
                time = u" W tej chwili jest: "_qs + time + u" "_qs;
            return times;
        };
        QTest::newRow("seconds") << clock({u"12:00:00"_qs, u"12:00:01"_qs, u"12:00:02"_qs}) << true;
        QTest::newRow("every digit carried")
            << clock({u"19:59:58"_qs, u"19:59:59"_qs, u"20:00:00"_qs, u"20:00:01"_qs}) << true;
        QTest::newRow("a wider hour")
            << clock({u"9:59:59 AM"_qs, u"10:00:00 AM"_qs, u"10:00:01 AM"_qs}) << true;
        QTest::newRow("disabled") << clock({u"12:00:00"_qs, u"12:00:01"_qs, u"12:00:12"_qs})
                                  << false;
    }

    void theShownClockIsTheTitleDrawnAfresh()
    {
        QFETCH(QStringList, captions);
        QFETCH(bool, enabled);
        const auto window = [&](QGroupBox &box) {
            auto top = std::make_unique<QWidget>();
            top->setPalette(QPalette(QColor(0x6a, 0x8c, 0xb0)));
            top->setAutoFillBackground(true);
            top->resize(260, 120);
            box.setParent(top.get());
            box.setGeometry(20, 10, 214, 90);
            box.setEnabled(enabled);
            top->show();
            return top;
        };
        const auto shown = [](QWidget &top) {
            return top.screen()
                ->grabWindow(top.winId())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        auto *clockBox = new ClockGroupBox(captions.first(), nullptr);
        const auto clockWindow = window(*clockBox);
        QVERIFY(QTest::qWaitForWindowExposed(clockWindow.get()));
        for (const QString &caption : captions) {
            clockBox->setCaption(caption);
            QCoreApplication::processEvents();
        }
        auto *plainBox = new QGroupBox(captions.last());
        const auto plainWindow = window(*plainBox);
        QVERIFY(QTest::qWaitForWindowExposed(plainWindow.get()));
        QCoreApplication::processEvents();
        QCOMPARE(shown(*clockWindow), shown(*plainWindow));
    }
};

QTEST_MAIN(TestClockGroupBox)
#include "tst_clockgroupbox.moc"
