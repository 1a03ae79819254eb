#include "WindowSlide.h"

#include "core/SlidePath.h"
#include "platform/Display.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace tockwell {
namespace {

// Waits `ms` milliseconds with the event loop running.
void pumpFor(int ms)
{
    QCoreApplication::processEvents();
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void slideAlong(QWidget &window, const SlidePath &path, int left, int pause)
{
    window.move(left, path.start);
    for (const int top : path.steps) {
        window.move(left, top);
        pumpFor(pause);
    }
    window.move(left, path.end);
}

} // namespace

void slideWindow(QWidget &window, platform::Display &display, int pause, int step, int hold,
                 bool in, int lift)
{
    const QPoint start = slideStart(display.workArea(), window.size()) - QPoint(0, lift);
    slideAlong(window, slidePath(start.y(), window.height(), step, in), start.x(), pause);
    if (in && hold > 0) {
        pumpFor(hold);
        slideWindow(window, display, pause, step, hold, false, lift);
    }
}

} // namespace tockwell
