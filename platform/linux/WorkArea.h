#pragma once

#include <QRect>

#include <optional>
#include <vector>

namespace tockwell::platform {

/// A rectangle that a panel reserves along one edge of the X screen (the root window), from its
/// _NET_WM_STRUT_PARTIAL or _NET_WM_STRUT.
struct Reservation
{
    enum class Edge
    {
        Left,
        Right,
        Top,
        Bottom
    };
    Edge edge;
    QRect rect; ///< in the root window's pixels
};

/// The reservations of one panel's strut on a screen of `rootSize`: `values` are the 12
/// cardinals of _NET_WM_STRUT_PARTIAL or the 4 of _NET_WM_STRUT (which spans whole edges);
/// nothing for any other count.
std::vector<Reservation> strutReservations(const std::vector<long> &values, QSize rootSize);

/// The work area of one monitor: `monitor` cut by the window manager's _NET_WORKAREA (one
/// rectangle over all monitors, ignored where it misses the monitor) and by every reservation
/// that reaches into it. All in the root window's pixels.
QRect monitorWorkArea(QRect monitor, const std::optional<QRect> &netWorkArea,
                      const std::vector<Reservation> &reservations);

} // namespace tockwell::platform
