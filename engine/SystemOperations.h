#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

class QWidget;

namespace tockwell {
namespace platform {
class Display;
class OpticalDrives;
class Session;
} // namespace platform

/// The tops a window takes while it slides: `steps` holds its top after each step, `end` the top
/// it is snapped to at the end.
struct SlidePath
{
    int start = 0;
    std::vector<int> steps;
    int end = 0;
};

/// The path of one slide at a work area whose bottom edge lies just above the row `areaBottom`:
/// in (upwards from just below the edge until the window's bottom meets it) or out (back below
/// the edge).
SlidePath slidePath(int areaBottom, int windowHeight, int step, bool in);

/// Where a window of `size` stands just before it slides into the bottom-right corner of the work
/// area `area`: right-aligned with the area, its top on the first row below it. The area may lie
/// anywhere on the desktop (a panel at the top or left, a primary screen not at the origin).
QPoint slideStart(const QRect &area, const QSize &size);

/// Slides `window` into the bottom-right corner of the work area (`in`) or out below it, moving it
/// `step` pixels at a time with a pause of `pause` ms after each step. The event loop keeps
/// running meanwhile. With `hold` > 0 a window slid in stays `hold` ms, then slides out.
void SlideWindow(QWidget &window, platform::Display &display, int pause, int step, int hold,
                 bool in);

/// Suspends (`suspend`) or hibernates the machine, taking the shutdown privilege first where the
/// system has privileges. Throws SystemError when the system refuses a step.
void EnterPowerState(platform::Session &session, bool suspend, bool force);

/// Takes or gives back the named privilege; true when the system did it.
bool SetTokenPrivilege(platform::Session &session, const QString &name, bool enable);

/// Opens the tray of `drive` when `operation` is "1", else closes it.
void CdTrayDoor(platform::OpticalDrives &drives, const QString &drive, const QString &operation);

inline constexpr auto ShutdownPrivilege = u"SeShutdownPrivilege";

} // namespace tockwell
