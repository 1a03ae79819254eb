#include "ClockTime.h"

#include <QDateTime>

#include <algorithm>

namespace tockwell {
namespace {

// A day has at most one change of the local offset in every zone in use, so the offsets at its
// start and at its end give every moment at which its clock shows a time.
constexpr int DaysAround = 2;

} // namespace

QList<qint64> clockTimeMoments(QDate day, QTime time)
{
    const qint64 asUtc = QDateTime(day, time, Qt::UTC).toSecsSinceEpoch();
    QList<qint64> moments;
    for (const QTime probe : {QTime(0, 0), QTime(23, 59, 59)}) {
        const qint64 moment = asUtc - QDateTime(day, probe).offsetFromUtc();
        const QDateTime local = QDateTime::fromSecsSinceEpoch(moment);
        if (local.date() == day && local.time() == time && !moments.contains(moment))
            moments.append(moment);
    }
    std::sort(moments.begin(), moments.end());
    return moments;
}

std::optional<qint64> nextClockTime(qint64 afterSecond, QTime time)
{
    const QDate start = QDateTime::fromSecsSinceEpoch(afterSecond).date();
    for (int days = 0; days <= DaysAround; ++days)
        for (const qint64 moment : clockTimeMoments(start.addDays(days), time))
            if (moment > afterSecond)
                return moment;
    return std::nullopt;
}

std::optional<qint64> lastClockTime(qint64 beforeSecond, QTime time)
{
    const QDate start = QDateTime::fromSecsSinceEpoch(beforeSecond).date();
    for (int days = 0; days <= DaysAround; ++days) {
        const QList<qint64> moments = clockTimeMoments(start.addDays(-days), time);
        for (auto moment = moments.crbegin(); moment != moments.crend(); ++moment)
            if (*moment < beforeSecond)
                return *moment;
    }
    return std::nullopt;
}

} // namespace tockwell
