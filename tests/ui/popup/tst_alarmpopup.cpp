#include "core/ArmedAlarm.h"
#include "platform/recording/RecordingPlatform.h"
#include "ui/popup/AlarmPopup.h"

#include <QElapsedTimer>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tockwell;
using platform::Recorder;

namespace {

/// What held when the popup became visible: the order of the showing sequence.
class ShowWatcher final : public QObject
{
public:
    ShowWatcher(QWidget &popup, const QWidget &setupWindow)
        : m_popup(popup), m_setupWindow(setupWindow)
    {
        popup.installEventFilter(this);
    }

    int shows = 0;
    QPoint position;
    bool setupEnabled = true;
    bool beepTimerOn = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            ++shows;
            position = m_popup.pos();
            setupEnabled = m_setupWindow.isEnabled();
            beepTimerOn = m_popup.findChild<QTimer *>(u"t_Beep"_qs)->isActive();
        }
        return false;
    }

private:
    QWidget &m_popup;
    const QWidget &m_setupWindow;
};

QtMessageHandler testMessages = nullptr;

// The offscreen platform cannot raise windows and says so at every raise of the stay-on-top timer.
void withoutRaiseWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text != u"This plugin does not support raise()")
        testMessages(type, context, text);
}

} // namespace

class TestAlarmPopup : public QObject
{
    Q_OBJECT

    std::shared_ptr<Recorder> m_recorder;
    std::unique_ptr<platform::Platform> m_platform;
    std::unique_ptr<QWidget> m_setupWindow;
    std::unique_ptr<AlarmPopup> m_popup;

    QTimer &timer(const char *name) const
    {
        return *m_popup->findChild<QTimer *>(QString::fromLatin1(name));
    }
    QLabel &image(const char *name) const
    {
        return *m_popup->findChild<QLabel *>(QString::fromLatin1(name));
    }
    /// Which pictures are switched on, "12", "1", "2" or "".
    QString shownImages() const
    {
        QString shown;
        if (!image("Img1").isHidden())
            shown += u'1';
        if (!image("Img2").isHidden())
            shown += u'2';
        return shown;
    }
    qsizetype beeps() const { return m_recorder->lines().count(u"Beep"_qs); }

private slots:
    void initTestCase() { testMessages = qInstallMessageHandler(withoutRaiseWarnings); }

    void init()
    {
        m_recorder = std::make_shared<Recorder>();
        // Every showing reads the work area twice: where the popup appears, where it slides.
        for (int i = 0; i < 2; ++i)
            m_recorder->script(u"WorkArea"_qs, u"0 0 700 600"_qs);
        m_platform = platform::makeRecordingPlatform(m_recorder);
        m_setupWindow = std::make_unique<QWidget>();
        m_popup = std::make_unique<AlarmPopup>(*m_setupWindow, *m_platform);
    }

    void cleanup()
    {
        m_popup.reset();
        m_setupWindow.reset();
    }

    void picturesAndGlyphAreDecoded()
    {
        QVERIFY(QImageReader::supportedImageFormats().contains("jpeg"));
        for (const char *name : {"Img1", "Img2"}) {
            QCOMPARE(image(name).pixmap().size(), QSize(128, 142));
            QCOMPARE(image(name).geometry(), QRect(8, 28, 128, 142));
        }
        // The two frames differ, or the flashing could not be seen.
        QVERIFY(image("Img1").pixmap().toImage() != image("Img2").pixmap().toImage());
        const QIcon glyph = m_popup->findChild<QPushButton *>(u"SpeedButton1"_qs)->icon();
        QVERIFY(!glyph.isNull());
        QVERIFY(glyph.availableSizes().contains(QSize(16, 16)));
    }

    void showingSequenceInItsOrder_data()
    {
        QTest::addColumn<bool>("beep");
        QTest::newRow("beep") << true;
        QTest::newRow("silent") << false;
    }
    void showingSequenceInItsOrder()
    {
        QFETCH(bool, beep);
        for (const char *name : {"Timer1", "TimerStayOnTop", "t_Beep"})
            QVERIFY2(!timer(name).isActive(), name);
        const ShowWatcher watcher(*m_popup, *m_setupWindow);

        m_popup->showAlarm(beep);

        // Shown once, below the work area's bottom edge where the slide begins, after the setup
        // window was disabled and the beep timer set.
        QCOMPARE(watcher.shows, 1);
        QCOMPARE(watcher.position, QPoint(700 - 232, 600));
        QVERIFY(!watcher.setupEnabled);
        QCOMPARE(watcher.beepTimerOn, beep);
        // Slid into the corner, and flashing and staying on top already.
        QVERIFY(m_popup->isVisible());
        QCOMPARE(m_popup->pos(), QPoint(700 - 232, 600 - 173));
        QVERIFY(!m_setupWindow->isEnabled());
        QVERIFY(timer("Timer1").isActive());
        QVERIFY(timer("TimerStayOnTop").isActive());
        QCOMPARE(timer("t_Beep").isActive(), beep);
        QVERIFY(m_popup->windowFlags().testFlags(Qt::WindowStaysOnTopHint | Qt::Tool |
                                                 Qt::FramelessWindowHint));
        // Placed by the program: a window manager would keep it inside the screen, where it
        // could not rise from below the edge.
        QVERIFY(m_popup->windowFlags().testFlag(Qt::BypassWindowManagerHint));

        QTest::mouseClick(m_popup->findChild<QPushButton *>(u"SpeedButton1"_qs), Qt::LeftButton);
        QVERIFY(!m_popup->isVisible());
        QVERIFY(m_setupWindow->isEnabled());
        // Nothing of the popup keeps waking the program while it is hidden.
        for (const char *name : {"Timer1", "TimerStayOnTop", "t_Beep"})
            QVERIFY2(!timer(name).isActive(), name);
    }

    void closingEnablesTheSetupWindowWhetherShownOrNot_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::newRow("shown") << true;
        QTest::newRow("hidden") << false;
    }
    void closingEnablesTheSetupWindowWhetherShownOrNot()
    {
        QFETCH(bool, shown);
        if (shown)
            m_popup->showAlarm(true);
        m_setupWindow->setEnabled(false);
        m_popup->close();
        QVERIFY(m_setupWindow->isEnabled());
        QVERIFY(!m_popup->isVisible());
        QVERIFY(!timer("t_Beep").isActive());
    }

    void picturesSwapSecondFirst()
    {
        // Both on at first, the second above the first.
        QCOMPARE(shownImages(), u"12"_qs);
        QVERIFY(m_popup->children().indexOf(&image("Img2")) >
                m_popup->children().indexOf(&image("Img1")));
        m_popup->show();
        timer("Timer1").stop();
        QMetaObject::invokeMethod(&timer("Timer1"), "timeout");
        QCOMPARE(shownImages(), u"2"_qs);
        QMetaObject::invokeMethod(&timer("Timer1"), "timeout");
        QCOMPARE(shownImages(), u"1"_qs);
        QMetaObject::invokeMethod(&timer("Timer1"), "timeout");
        QCOMPARE(shownImages(), u"2"_qs);
    }

    void beepsTwiceASecondOnlyWhenAsked_data()
    {
        QTest::addColumn<bool>("playBeep");
        QTest::newRow("PlayBeep on") << true;
        QTest::newRow("PlayBeep off") << false;
    }
    void beepsTwiceASecondOnlyWhenAsked()
    {
        QFETCH(bool, playBeep);
        ArmedAlarm alarm;
        alarm.PlayBeep = playBeep;
        QElapsedTimer shown;
        shown.start();
        m_popup->showAlarm(alarm.PlayBeep);
        // The option changed while the popup is up does not reach it.
        alarm.PlayBeep = !playBeep;
        QTest::qWait(1600);
        const qint64 expected = playBeep ? shown.elapsed() / 500 : 0;
        // Timers may come late on a busy machine, never early.
        QVERIFY2(
            beeps() >= expected - 2 && beeps() <= expected + 1 && (!playBeep || beeps() >= 2),
            qPrintable(QStringLiteral("%1 beeps, about %2 expected").arg(beeps()).arg(expected)));
        QCOMPARE(timer("t_Beep").isActive(), playBeep);

        m_popup->close();
        m_recorder->clear();
        QTest::qWait(700);
        QCOMPARE(beeps(), 0);
    }
};

QTEST_MAIN(TestAlarmPopup)
#include "tst_alarmpopup.moc"
