// The display's X11-only effects doing nothing, harmlessly, where there is no X display, the
// monitor's power saving switched back off when the monitor wakes, and the primary monitor's
// work area on desktops of two monitors with a panel on any edge.
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/WorkArea.h"

#include <QTest>

using namespace tockwell::platform;

using Cardinals = std::vector<long>;
Q_DECLARE_METATYPE(Cardinals)
Q_DECLARE_METATYPE(std::optional<QRect>)

class TestLinuxDisplay : public QObject
{
    Q_OBJECT

private slots:
    void displayEffectsDoNothingWithoutX11()
    {
        QVERIFY(!setShowingDesktop(true));
        QVERIFY(!activateX11ScreenSaver());
        bool switchedOn = true;
        QVERIFY(!Dpms().standby(&switchedOn));
        QVERIFY(switchedOn); // untouched
        QVERIFY(Dpms().monitorOn());
        Dpms().switchOff();
        LinuxDisplay display;
        display.minimizeAllWindows();
        display.monitorLowPower();
    }

    void thePrimaryMonitorsWorkArea_data()
    {
        QTest::addColumn<QRect>("monitor");
        QTest::addColumn<std::optional<QRect>>("netWorkArea");
        QTest::addColumn<Cardinals>("strut"); // _NET_WM_STRUT_PARTIAL or _NET_WM_STRUT
        QTest::addColumn<QRect>("expected");
        // 1024 × 768 and 1280 × 800 side by side (root 2304 × 800), a panel 26 pixels thick on an
        // edge of the primary monitor, announced as a partial strut.
        const QRect right(1024, 0, 1280, 800), left(0, 0, 1280, 800);
        const std::optional<QRect> none;
        QTest::newRow("primary right, panel at the bottom")
            << right << none << Cardinals{0, 0, 0, 26, 0, 0, 0, 0, 0, 0, 1024, 2303}
            << QRect(1024, 0, 1280, 774);
        QTest::newRow("primary right, panel at the top")
            << right << none << Cardinals{0, 0, 26, 0, 0, 0, 0, 0, 1024, 2303, 0, 0}
            << QRect(1024, 26, 1280, 774);
        QTest::newRow("primary right, panel on the left, between the monitors")
            << right << none << Cardinals{1050, 0, 0, 0, 0, 799, 0, 0, 0, 0, 0, 0}
            << QRect(1050, 0, 1254, 800);
        QTest::newRow("primary right, panel on the right")
            << right << none << Cardinals{0, 26, 0, 0, 0, 0, 0, 799, 0, 0, 0, 0}
            << QRect(1024, 0, 1254, 800);
        QTest::newRow("primary left, panel at the bottom")
            << left << none << Cardinals{0, 0, 0, 26, 0, 0, 0, 0, 0, 0, 0, 1279}
            << QRect(0, 0, 1280, 774);
        QTest::newRow("primary left, panel at the top")
            << left << none << Cardinals{0, 0, 26, 0, 0, 0, 0, 0, 0, 1279, 0, 0}
            << QRect(0, 26, 1280, 774);
        QTest::newRow("primary left, panel on the left")
            << left << none << Cardinals{26, 0, 0, 0, 0, 799, 0, 0, 0, 0, 0, 0}
            << QRect(26, 0, 1254, 800);
        QTest::newRow("primary left, panel on the right, between the monitors")
            << left << none << Cardinals{0, 1050, 0, 0, 0, 0, 0, 799, 0, 0, 0, 0}
            << QRect(0, 0, 1254, 800);
        // The other monitor's panel leaves the primary one alone.
        QTest::newRow("a panel at the bottom of the other monitor")
            << right << none << Cardinals{0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 1023} << right;
        // Two monitors of 1280 × 800, the taskbar at the bottom of the right one, told through
        // _NET_WORKAREA alone; the old _NET_WM_STRUT spans the whole edge.
        QTest::newRow("the window manager's work area")
            << QRect(1280, 0, 1280, 800) << std::optional(QRect(0, 0, 2560, 774)) << Cardinals{}
            << QRect(1280, 0, 1280, 774);
        QTest::newRow("a work area that misses the monitor is no cut")
            << right << std::optional(QRect(0, 0, 1000, 700)) << Cardinals{} << right;
        QTest::newRow("a whole-edge strut")
            << right << none << Cardinals{0, 0, 30, 0} << QRect(1024, 30, 1280, 770);
        QTest::newRow("a strut of another length is none")
            << right << none << Cardinals{0, 0, 30} << right;
    }
    void thePrimaryMonitorsWorkArea()
    {
        QFETCH(QRect, monitor);
        QFETCH(std::optional<QRect>, netWorkArea);
        QFETCH(Cardinals, strut);
        QFETCH(QRect, expected);
        QCOMPARE(monitorWorkArea(monitor, netWorkArea, strutReservations(strut, QSize(2304, 800))),
                 expected);
    }

    void dpmsComesBackOffWhenTheMonitorWakes()
    {
        bool monitorOn = false;
        int switchedOff = 0;
        {
            DpmsRestore restore(
                DpmsRestore::Server{[&] { return monitorOn; }, [&] { ++switchedOff; }},
                std::chrono::milliseconds(10));
            restore.watch();
            QTest::qWait(50);
            QCOMPARE(switchedOff, 0); // still asleep: DPMS stays on
            restore.watch();          // a second standby meanwhile: the same wait
            monitorOn = true;
            QTRY_COMPARE(switchedOff, 1);
            QVERIFY(!restore.watching());
            QTest::qWait(30);
            monitorOn = false;
            restore.watch(); // asleep again, and the program ends meanwhile
        }
        QCOMPARE(switchedOff, 2); // off at once at the end
    }
};

QTEST_MAIN(TestLinuxDisplay)
#include "tst_linuxdisplay.moc"
