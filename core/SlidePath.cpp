#include "SlidePath.h"

#include <algorithm>

namespace tockwell {

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

} // namespace tockwell
