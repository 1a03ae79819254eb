#include "ArmedAlarm.h"

#include "Error.h"

#include <QFileInfo>

#include <limits>

namespace tockwell {

QString joinMessageParam(const QString &title, const QString &message)
{
    return title + Pilcrow + message;
}

std::pair<QString, QString> splitMessageParam(const QString &mainParam)
{
    const qsizetype at = mainParam.indexOf(Pilcrow);
    if (at < 0)
        return {mainParam, QString()};
    return {mainParam.left(at), mainParam.mid(at + 1)};
}

QString clickPointParam(int x, int y)
{
    return QStringLiteral("%1;%2").arg(x).arg(y);
}

QPoint parseClickPoint(const QString &secondParam)
{
    const qsizetype at = secondParam.indexOf(QLatin1Char(';'));
    const QString x = at < 0 ? secondParam : secondParam.left(at);
    const QString y = at < 0 ? QString() : secondParam.mid(at + 1);
    const int xValue = parseInteger(x); // x first: its error is the one reported
    return QPoint(xValue, parseInteger(y));
}

std::optional<QString> cdTrayOperation(const QString &operationText)
{
    const QString operation = operationText.toUpper();
    if (operation == u"WYSUŃ"_qs)
        return u"1"_qs;
    if (operation == u"WSUŃ"_qs)
        return u"0"_qs;
    return std::nullopt;
}

std::optional<QString> cdTrayParam(const QString &drive, const QString &operationText)
{
    if (const std::optional<QString> operation = cdTrayOperation(operationText))
        return drive + u';' + *operation;
    return std::nullopt;
}

CdTrayRequest parseCdTrayParam(const QString &secondParam)
{
    return {secondParam.mid(0, 1), secondParam.mid(2, 1)};
}

qint64 countdownSeconds(int hours, int minutes, int seconds)
{
    return qint64(hours) * 3600 + qint64(minutes) * 60 + qint64(seconds);
}

std::optional<int> countdownTotal(int hours, int minutes, int seconds)
{
    const qint64 total = countdownSeconds(hours, minutes, seconds);
    if (total < 1 || total > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(total);
}

QString alarmSummary(const ArmedAlarm &alarm)
{
    QString gist;
    if (alarm.ActionKind == kinds::Message) {
        const auto [title, text] = splitMessageParam(alarm.MainParam);
        gist = title.trimmed().isEmpty() ? text : title;
    } else if (alarm.ActionKind == kinds::PlaySound || alarm.ActionKind == kinds::RunProgram ||
               alarm.ActionKind == kinds::OpenFile) {
        gist = QFileInfo(alarm.MainParam).fileName();
    } else if (alarm.ActionKind != kinds::DefaultWindow) {
        gist = alarm.MainParam;
    }
    gist = gist.simplified();
    return gist.isEmpty() ? alarm.ActionKind : alarm.ActionKind + u": "_qs + gist;
}

QString countdownText(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    return u"%1:%2:%3"_qs.arg(hours)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace tockwell
