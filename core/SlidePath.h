#pragma once

#include <QPoint>
#include <QRect>

#include <vector>

namespace tockwell {

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

} // namespace tockwell
