#pragma once

#include <QDate>
#include <QList>
#include <QTime>

#include <optional>

namespace tockwell {

/// The moments (seconds since 1970 UTC, ascending) at which the local clock shows `time` on
/// `day`: none when a change to summer time skips it, two when the change back repeats it.
QList<qint64> clockTimeMoments(QDate day, QTime time);

/// The first moment after `afterSecond` at which the local clock shows `time`.
std::optional<qint64> nextClockTime(qint64 afterSecond, QTime time);

/// The last moment before `beforeSecond` at which the local clock shows `time`.
std::optional<qint64> lastClockTime(qint64 beforeSecond, QTime time);

} // namespace tockwell
