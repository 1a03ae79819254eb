#include "SystemOperations.h"

#include "core/Error.h"
#include "platform/Display.h"
#include "platform/OpticalDrives.h"
#include "platform/Session.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <algorithm>

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

SlidePath slidePath(int areaBottom, int windowHeight, int step, bool in)
{
    step = std::max(step, 1); // a step of 0 would never arrive
    SlidePath path;
    const int shown = areaBottom - windowHeight;
    if (in) {
        path.start = areaBottom;
        int top = path.start;
        do {
            top -= step;
            path.steps.push_back(top);
        } while (shown < top - step);
        path.end = shown;
    } else {
        path.start = shown;
        int top = path.start;
        do {
            top += step;
            path.steps.push_back(top);
        } while (areaBottom > top + step);
        path.end = areaBottom;
    }
    return path;
}

QPoint slideStart(const QRect &area, const QSize &size)
{
    return {area.x() + area.width() - size.width(), area.y() + area.height()};
}

void SlideWindow(QWidget &window, platform::Display &display, int pause, int step, int hold,
                 bool in)
{
    const QPoint start = slideStart(display.workArea(), window.size());
    slideAlong(window, slidePath(start.y(), window.height(), step, in), start.x(), pause);
    if (in && hold > 0) {
        pumpFor(hold);
        SlideWindow(window, display, pause, step, hold, false);
    }
}

void EnterPowerState(platform::Session &session, bool suspend, bool force)
{
    if (session.usesPrivileges()) {
        if (const auto failure =
                session.adjustPrivilege(QString::fromUtf16(ShutdownPrivilege), true))
            throw SystemError(failure->code, failure->description);
    }
    if (const auto failure = session.setPowerState(suspend, force))
        throw SystemError(failure->code, failure->description);
}

bool SetTokenPrivilege(platform::Session &session, const QString &name, bool enable)
{
    return !session.adjustPrivilege(name, enable);
}

void CdTrayDoor(platform::OpticalDrives &drives, const QString &drive, const QString &operation)
{
    drives.setDoor(drive, operation == u"1"_qs);
}

} // namespace tockwell
