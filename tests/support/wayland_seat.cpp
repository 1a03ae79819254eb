// Gives a headless compositor's seat a pointer and a keyboard, virtual ones made through the
// program's Wayland back end (a wlroots compositor's virtual devices, or KWin's fake input), and
// clicks with them for the test: each line "X Y WIDTH HEIGHT" on its input is a left click at
// X, Y of a layout of WIDTH × HEIGHT. Ends with its input.
// Usage: wayland_seat TOCKWELL-WAYLAND.SO [wlroots|kwin]; prints "ready" once the devices are
// there, "clicked" after each click.
#include "platform/linux/WaylandLibrary.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

constexpr unsigned long ClickStepMs = 50;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3)
        return 2;
    using namespace tockwell::platform;
    const bool kwin = argc == 3 && qstrcmp(argv[2], "kwin") == 0;
    WaylandLibrary library(QString::fromLocal8Bit(argv[1]),
                           kwin ? wayland::KwinEntryPoint : wayland::WlrootsEntryPoint);
    wayland::Backend *backend = library.backend();
    const auto devices = [&] {
        const WaylandOffers offers = backend->offers();
        return kwin ? offers.fakeInput : offers.virtualPointer && offers.virtualKeyboard;
    };
    if (!backend || !devices()) {
        std::fprintf(stderr, "no virtual devices: %s\n", qPrintable(library.error()));
        return 1;
    }
    backend->movePointer(QPoint(0, 0), QSize(1, 1));
    constexpr uint32_t LeftShift = 42;                           // the kernel's KEY_LEFTSHIFT
    backend->pressKeys(KeyCombination{{}, 0xffe1}, {LeftShift}); // Shift_L alone
    std::puts("ready");
    std::fflush(stdout);
    int x = 0, y = 0, width = 0, height = 0;
    while (std::scanf("%d %d %d %d", &x, &y, &width, &height) == 4) {
        // As a hand clicks: the pointer comes to rest first, and the button is held a moment.
        backend->movePointer(QPoint(x, y), QSize(width, height));
        QThread::msleep(ClickStepMs);
        backend->leftButton(true);
        QThread::msleep(ClickStepMs);
        backend->leftButton(false);
        std::puts("clicked");
        std::fflush(stdout);
    }
    return 0;
}
