// The display's X11-only effects doing nothing, harmlessly, where there is no X display, and
// the monitor's power saving switched back off when the monitor wakes.
#include "platform/linux/LinuxDisplay.h"

#include <QTest>

using namespace tockwell::platform;

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
