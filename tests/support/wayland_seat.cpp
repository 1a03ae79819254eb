// Gives a headless compositor's seat a pointer and a keyboard, virtual ones made through the
// program's own means (a wlroots compositor's virtual devices or KWin's fake input, from its
// Wayland back end; mutter's remote desktop), and clicks with them for the test: each line
// "X Y WIDTH HEIGHT" on its input is a left click at X, Y of a layout of WIDTH × HEIGHT. Ends
// with its input.
// Usage: wayland_seat TOCKWELL-WAYLAND.SO [wlroots|kwin|mutter]; prints "ready" once the devices
// are there, "clicked" after each click.
#include "platform/linux/MutterDesktop.h"
#include "platform/linux/WaylandLibrary.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <functional>

namespace {

using namespace tockwell::platform;

constexpr unsigned long ClickStepMs = 50;

/// The seat's pointer and keyboard, whichever means make them.
struct Seat
{
    std::function<void(QPoint, QSize)> move;
    std::function<void(bool)> button;
    std::function<void()> prepare; ///< makes the devices that are made before a click
};

int run(const Seat &seat)
{
    seat.prepare();
    std::puts("ready");
    std::fflush(stdout);
    int x = 0, y = 0, width = 0, height = 0;
    while (std::scanf("%d %d %d %d", &x, &y, &width, &height) == 4) {
        // As a hand clicks: the pointer comes to rest first, and the button is held a moment.
        seat.move(QPoint(x, y), QSize(width, height));
        QThread::msleep(ClickStepMs);
        seat.button(true);
        QThread::msleep(ClickStepMs);
        seat.button(false);
        std::puts("clicked");
        std::fflush(stdout);
    }
    return 0;
}

int runOnMutter()
{
    if (!MutterDesktop::offersRemoteDesktop() || !MutterDesktop::pipeWireRuns()) {
        std::fputs("no remote desktop of mutter's, or no PipeWire\n", stderr);
        return 1;
    }
    MutterDesktop mutter;
    return run({[&](QPoint pos, QSize layout) { mutter.movePointer(pos, layout); },
                [&](bool down) { mutter.leftButton(down); },
                // Shift alone makes the keyboard; the pointer's session is made at the first click,
                // with the layout's size.
                [&] {
                    mutter.pressKeys(KeyCombination{{}, 0xffe1});
                }});
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3)
        return 2;
    const QByteArray kind = argc == 3 ? QByteArray(argv[2]) : QByteArray("wlroots");
    if (kind == "mutter")
        return runOnMutter();
    const bool kwin = kind == "kwin";
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
    constexpr uint32_t leftShift = 42; // the kernel's KEY_LEFTSHIFT
    return run({[&](QPoint pos, QSize extent) { backend->movePointer(pos, extent); },
                [&](bool down) { backend->leftButton(down); },
                [&] {
                    backend->movePointer(QPoint(0, 0), QSize(1, 1));
                    backend->pressKeys(KeyCombination{{}, 0xffe1}, {leftShift}); // Shift alone
                }});
}
