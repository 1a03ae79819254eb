// The X11 effects under an Xvfb of the test's own with a window manager (run-under-xvfb.sh).
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/X11.h"
#include "platform/linux/X11Input.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/scrnsaver.h>
#include <algorithm>

using namespace tockwell::platform;

namespace {

/// A window that remembers where the left button went down and up.
class ClickTarget final : public QWidget
{
public:
    QPoint pressedAt{-1, -1}, releasedAt{-1, -1};
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        pressedAt = event->position().toPoint();
        presses += event->button() == Qt::LeftButton;
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        releasedAt = event->position().toPoint();
    }
};

/// A window that writes down the keys it receives: "down Control", "up C", …, the text typed,
/// and the keysym of each press with whether Control was down.
class KeyTarget final : public QWidget
{
public:
    QStringList events;
    QString text;
    QList<std::pair<quint32, bool>> pressed;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        events << u"down "_qs + QKeySequence(event->key()).toString();
        text += event->text();
        pressed.append({event->nativeVirtualKey(), event->modifiers() & Qt::ControlModifier});
    }
    void keyReleaseEvent(QKeyEvent *event) override
    {
        events << u"up "_qs + QKeySequence(event->key()).toString();
    }
};

int screenSaverState()
{
    XScreenSaverInfo info{};
    XScreenSaverQueryInfo(x11::display(), DefaultRootWindow(x11::display()), &info);
    return info.state;
}

// Whether the XInput devices whose names contain `name` are enabled; -1 when there is none.
int deviceEnabled(const char *name)
{
    ::Display *display = x11::display();
    int count = 0;
    XIDeviceInfo *devices = XIQueryDevice(display, XIAllDevices, &count);
    int enabled = -1;
    for (int i = 0; i < count; ++i) {
        if (!QByteArray(devices[i].name).contains(name))
            continue;
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        XIGetProperty(display, devices[i].deviceid, XInternAtom(display, "Device Enabled", False),
                      0, 1, False, XA_INTEGER, &type, &format, &items, &after, &data);
        enabled = data && data[0];
        XFree(data);
    }
    XIFreeDeviceInfo(devices);
    return enabled;
}

// The names of the EWMH states the window manager has set on `window`.
QStringList netWmStates(WId window)
{
    ::Display *display = x11::display();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), 0, 32, False,
                       XA_ATOM, &type, &format, &count, &after, &data);
    QStringList names;
    for (unsigned long i = 0; data && i < count; ++i) {
        char *name = XGetAtomName(display, reinterpret_cast<const Atom *>(data)[i]);
        names << QString::fromLatin1(name);
        XFree(name);
    }
    XFree(data);
    return names;
}

// The keycodes that have no keysym.
QList<int> keysWithoutKeysyms()
{
    ::Display *display = x11::display();
    int first = 0, last = 0, width = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym *map = XGetKeyboardMapping(display, KeyCode(first), last - first + 1, &width);
    QList<int> codes;
    for (int code = first; code <= last; ++code) {
        const KeySym *syms = map + (code - first) * width;
        if (std::all_of(syms, syms + width, [](KeySym s) { return s == NoSymbol; }))
            codes << code;
    }
    XFree(map);
    return codes;
}

// Shows `window` and waits until the window manager has framed it.
bool showManaged(QWidget &window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (window.frameGeometry() == window.geometry() && timer.elapsed() < 5000)
        QTest::qWait(20);
    return window.frameGeometry() != window.geometry();
}

} // namespace

class TestX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb"_qs || !x11::display())
            QSKIP("needs an X server: run through run-under-xvfb.sh");
    }

    void clickLandsOnTheWindowAtThePoint()
    {
        ClickTarget window;
        window.setGeometry(200, 150, 300, 200);
        QVERIFY(showManaged(window));
        const QPoint point = window.mapToGlobal(QPoint(40, 70));

        X11Input input;
        input.setCursorPos(point);
        QTRY_COMPARE(input.cursorPos(), point);
        input.mouseButton(MouseButtonEvent::LeftDown, point);
        input.mouseButton(MouseButtonEvent::LeftUp, point);
        QTRY_COMPARE(window.releasedAt, QPoint(40, 70));
        QCOMPARE(window.pressedAt, QPoint(40, 70));
        QCOMPARE(window.presses, 1);
    }

    void keyCombinationReachesTheFocusedWindow_data()
    {
        QTest::addColumn<QList<quint32>>("modifiers");
        QTest::addColumn<quint32>("key");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("text");
        QTest::newRow("Control+c")
            << QList<quint32>{0xffe3} << quint32('c')
            << QStringList{u"down Control"_qs, u"down C"_qs, u"up C"_qs, u"up Control"_qs}
            << QString(QChar(0x03)); // Control+c types ETX
        QTest::newRow("capital letter takes Shift")
            << QList<quint32>{} << quint32('A')
            << QStringList{u"down Shift"_qs, u"down A"_qs, u"up A"_qs, u"up Shift"_qs} << u"A"_qs;
        QTest::newRow("Control+Shift+F5, Shift given")
            << QList<quint32>{0xffe3, 0xffe1} << quint32(0xffc2)
            << QStringList{u"down Control"_qs, u"down Shift"_qs, u"down F5"_qs,
                           u"up F5"_qs,        u"up Shift"_qs,   u"up Control"_qs}
            << QString();
    }
    void keyCombinationReachesTheFocusedWindow()
    {
        QFETCH(QList<quint32>, modifiers);
        QFETCH(quint32, key);
        QFETCH(QStringList, events);
        QFETCH(QString, text);
        KeyTarget window;
        window.setGeometry(200, 150, 200, 100);
        QVERIFY(showManaged(window));
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());

        X11Input input;
        input.pressKeys(KeyCombination{modifiers, key});
        input.pressKeys(KeyCombination{{}, 'z'}); // a key of the test's own marks the end
        events << u"down Z"_qs << u"up Z"_qs;
        QTRY_COMPARE(window.events.size(), events.size());
        QCOMPARE(window.events, events);
        QCOMPARE(window.text, text + u"z"_qs);
    }

    // Characters on any level of a layout (the Polish letters sit on AltGr's) and characters
    // that it lacks (bound to a spare key for the press), on three layouts.
    void charactersOfEveryLayout_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QList<quint32>>("modifiers");
        QTest::addColumn<quint32>("key");      // as the key text gives it
        QTest::addColumn<quint32>("received"); // the layout's own keysym of the character
        const QList<quint32> none, control{0xffe3};
        for (const char *layout : {"us", "pl", "de"}) {
            const QString name = QString::fromLatin1(layout);
            QTest::addRow("%s: ą", layout) << name << none << 0x1000105u << 0x1b1u; // aogonek
            QTest::addRow("%s: ł", layout) << name << none << 0x1000142u << 0x1b3u; // lstroke
            QTest::addRow("%s: ó", layout) << name << none << 0xf3u << 0xf3u;
            QTest::addRow("%s: ż", layout) << name << none << 0x100017cu << 0x1bfu; // zabovedot
            QTest::addRow("%s: é", layout) << name << none << 0xe9u << 0xe9u;
            QTest::addRow("%s: [CTRL + ą]", layout) << name << control << 0x1000105u << 0x1b1u;
        }
    }
    void charactersOfEveryLayout()
    {
        QFETCH(QString, layout);
        QFETCH(QList<quint32>, modifiers);
        QFETCH(quint32, key);
        QFETCH(quint32, received);
        if (QProcess::execute(u"setxkbmap"_qs, {layout}) != 0)
            QSKIP("setxkbmap cannot set the layout");
        const auto usLayout = qScopeGuard([] { QProcess::execute(u"setxkbmap"_qs, {u"us"_qs}); });
        KeyTarget window;
        window.setGeometry(200, 150, 200, 100);
        QVERIFY(showManaged(window));
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());

        const QList<int> spares = keysWithoutKeysyms();
        {
            X11Input input;
            input.pressKeys(KeyCombination{modifiers, key});
            input.pressKeys(KeyCombination{{}, 'z'}); // a key of the test's own marks the end
            QTRY_VERIFY(window.text.endsWith(u'z'));
            if (key == 0xe9) // on none of the layouts: a key is bound, and given back in time
                QTRY_COMPARE_WITH_TIMEOUT(keysWithoutKeysyms(), spares, 10000);
        }
        QCOMPARE(keysWithoutKeysyms(), spares); // a key bound for the press is given back
        const bool withControl = !modifiers.isEmpty();
        QVERIFY2(window.pressed.contains(std::pair(received, withControl)),
                 qPrintable(u"typed: "_qs + window.text));
        if (!withControl) {
            const char32_t character = key > 0x1000000 ? key - 0x1000000 : key;
            QCOMPARE(window.text, QString::fromUcs4(&character, 1) + u"z"_qs);
        }
    }

    // The layout is read when the keys are pressed, so a key the layout gained since counts.
    void keyAddedToTheLayoutIsFound()
    {
        ::Display *display = x11::display();
        const QList<int> spares = keysWithoutKeysyms();
        QVERIFY(!spares.isEmpty());
        const int spare = spares.last();
        X11Input input;
        KeyTarget window;
        window.setGeometry(200, 150, 200, 100);
        QVERIFY(showManaged(window));
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        input.pressKeys(KeyCombination{{}, 'z'}); // the layout is read once before the change

        KeySym aogonek = 0x1b1; // ą
        XChangeKeyboardMapping(display, spare, 1, &aogonek, 1);
        XSync(display, False);
        input.pressKeys(KeyCombination{{}, 0x1b1});
        QTRY_COMPARE(window.text, u"zą"_qs);
        KeySym none = NoSymbol;
        XChangeKeyboardMapping(display, spare, 1, &none, 1);
        XSync(display, False);
    }

    void showDesktopMinimisesAndItsUndoRestores()
    {
        QWidget window;
        window.setGeometry(100, 100, 200, 100);
        QVERIFY(showManaged(window));
        QVERIFY(!window.isMinimized());

        LinuxDisplay().minimizeAllWindows();
        QTRY_VERIFY_WITH_TIMEOUT(window.isMinimized(), 5000);
        QVERIFY(setShowingDesktop(false));
        QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    void keptAboveWithoutTaskbarOrPagerEntry()
    {
        QWidget window;
        window.setGeometry(150, 120, 200, 100);
        QVERIFY(showManaged(window));
        QVERIFY(!netWmStates(window.winId()).contains(u"_NET_WM_STATE_SKIP_TASKBAR"_qs));

        LinuxDisplay().keepAbove(window.winId());
        for (const QString &state : {u"_NET_WM_STATE_ABOVE"_qs, u"_NET_WM_STATE_SKIP_TASKBAR"_qs,
                                     u"_NET_WM_STATE_SKIP_PAGER"_qs})
            QTRY_VERIFY2_WITH_TIMEOUT(netWmStates(window.winId()).contains(state),
                                      qPrintable(state), 5000);
    }

    void screenSaverStartsAndAPointerMovementEndsIt()
    {
        QCOMPARE(screenSaverState(), ScreenSaverOff);
        LinuxDisplay().startScreenSaver(); // no saver service on this session bus: the X saver
        QTRY_COMPARE(screenSaverState(), ScreenSaverOn);
        X11Input().setCursorPos(QPoint(10, 10));
        QTRY_COMPARE(screenSaverState(), ScreenSaverOff);
    }

    void monitorPowerWithoutDpmsDoesNothing()
    {
        int event = 0, error = 0;
        QVERIFY(!XQueryExtension(x11::display(), "DPMS", &event, &event, &error));
        QVERIFY(!Dpms().standby());
        LinuxDisplay().monitorLowPower();
    }

    void workAreaLiesOnThePrimaryScreen()
    {
        const QRect area = LinuxDisplay().workArea();
        QVERIFY(!area.isEmpty());
        QVERIFY(QGuiApplication::primaryScreen()->geometry().contains(area));
    }

    void pointerAndScreenInTheRootWindowsPixels()
    {
        ::Display *display = x11::display();
        X11Input input;
        QCOMPARE(input.screenSize(), QSize(DisplayWidth(display, DefaultScreen(display)),
                                           DisplayHeight(display, DefaultScreen(display))));
        input.setCursorPos(QPoint(700, 500));
        QTRY_COMPARE(input.cursorPos(), QPoint(700, 500));
        // Qt's own view is scaled (tst_x11_scaled runs this at QT_SCALE_FACTOR=2).
        const qreal scale = QGuiApplication::primaryScreen()->devicePixelRatio();
        QTRY_COMPARE((QPointF(QCursor::pos()) * scale).toPoint(), QPoint(700, 500));

        // The pre-alarm pointer movement: to the corner and back to the same place.
        const QPoint saved = input.cursorPos();
        input.setCursorPos(QPoint(0, 0));
        input.setCursorPos(saved);
        QTRY_COMPARE(input.cursorPos(), QPoint(700, 500));
    }

    void guardGivesTheDevicesBackWhenTheProgramIsKilled_data()
    {
        QTest::addColumn<bool>("kill");
        QTest::newRow("SIGKILL") << true;
        QTest::newRow("SIGTERM") << false;
    }
    void guardGivesTheDevicesBackWhenTheProgramIsKilled()
    {
        QFETCH(bool, kill);
        QProcess program;
        program.start(QStringLiteral(TOCKWELL_INPUT_SUSPENDER),
                      {QStringLiteral(TOCKWELL_INPUT_GUARD)});
        QVERIFY(program.waitForReadyRead(10000));
        QCOMPARE(program.readLine().trimmed(), QByteArray("suspended"));
        QCOMPARE(deviceEnabled("Xvfb mouse"), 0);
        QCOMPARE(deviceEnabled("Xvfb keyboard"), 0);
        QElapsedTimer timer;
        timer.start();
        kill ? program.kill() : program.terminate();
        QVERIFY(program.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(
            deviceEnabled("Xvfb mouse") == 1 && deviceEnabled("Xvfb keyboard") == 1, 1000);
        qInfo("devices back %lld ms after the signal", timer.elapsed());
    }

    void stopGivesTheDevicesBack()
    {
        X11Input input(QStringLiteral(TOCKWELL_INPUT_GUARD));
        input.suspendKeyboard();
        input.suspendMouse();
        QCOMPARE(deviceEnabled("Xvfb keyboard"), 0);
        QCOMPARE(deviceEnabled("Xvfb mouse"), 0);
        input.resumeInput();
        QCOMPARE(deviceEnabled("Xvfb keyboard"), 1);
        QCOMPARE(deviceEnabled("Xvfb mouse"), 1);
    }

    void noGuardNoSuspension()
    {
        X11Input input(QStringLiteral("/nonexistent/tockwell-input-guard"));
        input.suspendKeyboard();
        QCOMPARE(deviceEnabled("Xvfb keyboard"), 1);
    }

    void suspensionDisablesTheDevicesButNotSimulatedInput()
    {
        QCOMPARE(deviceEnabled("Xvfb mouse"), 1);
        QCOMPARE(deviceEnabled("Xvfb keyboard"), 1);
        X11Input input(QStringLiteral(TOCKWELL_INPUT_GUARD));
        input.suspendMouse();
        QCOMPARE(deviceEnabled("Xvfb mouse"), 0);
        QCOMPARE(deviceEnabled("Xvfb keyboard"), 1);
        input.suspendKeyboard();
        QCOMPARE(deviceEnabled("Xvfb keyboard"), 0);
        QCOMPARE(deviceEnabled("XTEST pointer"), 1);
        QCOMPARE(deviceEnabled("XTEST keyboard"), 1);

        clickLandsOnTheWindowAtThePoint();
        input.resumeInput();
        QCOMPARE(deviceEnabled("Xvfb mouse"), 1);
    }
};

QTEST_MAIN(TestX11)
#include "tst_x11.moc"
