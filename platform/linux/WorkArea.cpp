#include "WorkArea.h"

#include <algorithm>

namespace tockwell::platform {

std::vector<Reservation> strutReservations(const std::vector<long> &values, QSize rootSize)
{
    if (values.size() != 4 && values.size() != 12)
        return {};
    const bool partial = values.size() == 12;
    const int width = rootSize.width(), height = rootSize.height();
    // The span along an edge: given by the partial strut, else the whole edge.
    const auto span = [&](int first, int whole) {
        return partial ? std::pair{int(values[first]), int(values[first + 1])}
                       : std::pair{0, whole - 1};
    };
    std::vector<Reservation> reservations;
    const auto add = [&](Reservation::Edge edge, long size, QRect rect) {
        if (size > 0 && rect.isValid())
            reservations.push_back({edge, rect});
    };
    using Edge = Reservation::Edge;
    const auto [leftStart, leftEnd] = span(4, height);
    const auto [rightStart, rightEnd] = span(6, height);
    const auto [topStart, topEnd] = span(8, width);
    const auto [bottomStart, bottomEnd] = span(10, width);
    add(Edge::Left, values[0], QRect(QPoint(0, leftStart), QPoint(int(values[0]) - 1, leftEnd)));
    add(Edge::Right, values[1],
        QRect(QPoint(width - int(values[1]), rightStart), QPoint(width - 1, rightEnd)));
    add(Edge::Top, values[2], QRect(QPoint(topStart, 0), QPoint(topEnd, int(values[2]) - 1)));
    add(Edge::Bottom, values[3],
        QRect(QPoint(bottomStart, height - int(values[3])), QPoint(bottomEnd, height - 1)));
    return reservations;
}

QRect monitorWorkArea(QRect monitor, const std::optional<QRect> &netWorkArea,
                      const std::vector<Reservation> &reservations)
{
    QRect area = monitor;
    if (netWorkArea && netWorkArea->intersects(monitor))
        area = area.intersected(*netWorkArea);
    for (const Reservation &reserved : reservations) {
        if (!reserved.rect.intersects(area))
            continue;
        switch (reserved.edge) {
        case Reservation::Edge::Left:
            area.setLeft(std::max(area.left(), reserved.rect.right() + 1));
            break;
        case Reservation::Edge::Right:
            area.setRight(std::min(area.right(), reserved.rect.left() - 1));
            break;
        case Reservation::Edge::Top:
            area.setTop(std::max(area.top(), reserved.rect.bottom() + 1));
            break;
        case Reservation::Edge::Bottom:
            area.setBottom(std::min(area.bottom(), reserved.rect.top() - 1));
            break;
        }
    }
    // A panel that covers the whole monitor leaves it as it is rather than nothing.
    return area.isValid() ? area : monitor;
}

} // namespace tockwell::platform
