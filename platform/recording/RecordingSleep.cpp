#include "RecordingSleep.h"

namespace tockwell::platform {
namespace {

/// Records `operation arguments -> answer` with the scripted answer or `fallback`.
QString answer(Recorder &recorder, const QString &operation, const QString &arguments,
               const QString &fallback)
{
    const QString result = recorder.takeAnswer(operation).value_or(fallback);
    const QString call = arguments.isEmpty() ? operation : operation + u' ' + arguments;
    recorder.record(call + u" -> "_qs + result);
    return result;
}

/// "ok", or "error CODE DESCRIPTION".
std::optional<Failure> failureAnswer(Recorder &recorder, const QString &operation,
                                     const QString &arguments)
{
    const QString result = answer(recorder, operation, arguments, u"ok"_qs);
    if (!result.startsWith(u"error"_qs))
        return std::nullopt;
    const QStringList words = result.split(u' ');
    return Failure{words.value(1).toInt(), words.mid(2).join(u' ')};
}

} // namespace

bool RecordingSleep::watchSleep(Listener listener)
{
    m_listener = std::move(listener);
    return answer(*m_recorder, u"WatchSleep"_qs, QString(), u"yes"_qs) == u"yes"_qs;
}

bool RecordingSleep::inhibitSleep(const QString &who, const QString &why)
{
    return answer(*m_recorder, u"InhibitSleep"_qs,
                  Recorder::quoted(who) + u' ' + Recorder::quoted(why), u"yes"_qs) == u"yes"_qs;
}

void RecordingSleep::releaseSleep()
{
    m_recorder->record(u"ReleaseSleep"_qs);
}

void RecordingSleep::prepareForSleep(bool goingToSleep)
{
    if (m_listener)
        m_listener(goingToSleep);
}

std::optional<Failure> RecordingWakeAlarm::canWake()
{
    return failureAnswer(*m_recorder, u"CanWake"_qs, QString());
}

std::optional<Failure> RecordingWakeAlarm::setWakeTime(qint64 epochSeconds)
{
    return failureAnswer(*m_recorder, u"SetWakeTime"_qs, QString::number(epochSeconds));
}

std::optional<Failure> RecordingWakeAlarm::clearWakeTime()
{
    return failureAnswer(*m_recorder, u"ClearWakeTime"_qs, QString());
}

} // namespace tockwell::platform
