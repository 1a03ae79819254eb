// input_suspender GUARD: suspends the mouse and the keyboard of its X display through the
// backend, with GUARD as the guard program, prints "suspended" and runs until it is ended. The
// X11 test ends it with a signal and watches the devices come back.
#include "platform/linux/X11Input.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    tockwell::platform::X11Input input(QString::fromLocal8Bit(argv[1]));
    input.suspendMouse();
    input.suspendKeyboard();
    std::puts("suspended");
    std::fflush(stdout);
    return QGuiApplication::exec();
}
