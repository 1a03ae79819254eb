// Simulated input and input suspension doing nothing, harmlessly, where there is no X display
// (tst_x11 runs them under an X server).
#include "platform/linux/X11.h"
#include "platform/linux/X11Input.h"

#include <QTest>

using namespace tockwell::platform;

class TestX11Input : public QObject
{
    Q_OBJECT

private slots:
    void inputEffectsDoNothingWithoutX11()
    {
        QVERIFY(!x11::display());
        X11Input input;
        input.mouseButton(MouseButtonEvent::LeftDown, QPoint(1, 1));
        input.mouseButton(MouseButtonEvent::LeftUp, QPoint(1, 1));
        input.suspendKeyboard();
        input.suspendMouse();
        input.pressKeys(KeyCombination{{0xffe3}, 0x63});
    }
};

QTEST_MAIN(TestX11Input)
#include "tst_x11input.moc"
