#include "RecordingMediaPlayer.h"

namespace tockwell::platform {

RecordingMediaPlayer::RecordingMediaPlayer(std::shared_ptr<Recorder> recorder)
    : m_recorder(std::move(recorder))
{}

QString RecordingMediaPlayer::answer(const QString &operation, const QString &arguments,
                                     const QString &fallback)
{
    const QString result = m_recorder->takeAnswer(operation).value_or(fallback);
    QString line = operation;
    if (!arguments.isEmpty())
        line += QLatin1Char(' ') + arguments;
    m_recorder->record(line + u" -> "_qs + result);
    return result;
}

std::optional<QString> RecordingMediaPlayer::openDevice(const QString &fileName)
{
    const QString result =
        answer(QStringLiteral("MediaOpen"), Recorder::quoted(fileName), QStringLiteral("ok"));
    if (result.startsWith(u"error"_qs))
        return result.mid(6);
    return std::nullopt;
}

void RecordingMediaPlayer::closeDevice()
{
    m_recorder->record(QStringLiteral("MediaClose"));
}

qint64 RecordingMediaPlayer::deviceLength()
{
    return answer(QStringLiteral("MediaLength"), QString(), QStringLiteral("0")).toLongLong();
}

bool RecordingMediaPlayer::playDevice(bool fromStart)
{
    m_recorder->record(fromStart ? u"MediaPlay rewind"_qs : u"MediaPlay"_qs);
    return true;
}

bool RecordingMediaPlayer::pauseDevice()
{
    m_recorder->record(QStringLiteral("MediaPause"));
    return true;
}

bool RecordingMediaPlayer::resumeDevice()
{
    m_recorder->record(QStringLiteral("MediaResume"));
    return true;
}

bool RecordingMediaPlayer::stopDevice()
{
    m_recorder->record(QStringLiteral("MediaStop"));
    return true;
}

} // namespace tockwell::platform
