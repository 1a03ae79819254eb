#pragma once

#include <QFile>
#include <QHash>
#include <QStringList>

#include <deque>
#include <optional>

namespace tockwell::platform {

/// The log of the recording platform: one line per call, in call order, and the answers a test
/// scripted for the calls that return something.
class Recorder final
{
public:
    /// With a file name, every line is appended to that file and flushed at once, and not kept
    /// in memory: a program recording for hours keeps a flat memory. Without one, the lines are
    /// kept for lines().
    explicit Recorder(const QString &logFile = QString());

    void record(const QString &line);
    /// The lines recorded so far by a recorder without a file.
    QStringList lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

    /// Queues the answer for the next call of `operation` (the first word of its line).
    void script(const QString &operation, const QString &answer);
    /// The next queued answer for `operation`, if any.
    std::optional<QString> takeAnswer(const QString &operation);

    /// A text argument as it appears in a line: in double quotes, with \\, \", \r, \n and \t
    /// escaped.
    static QString quoted(const QString &text);

private:
    QStringList m_lines;
    QHash<QString, std::deque<QString>> m_answers;
    QFile m_file;
};

} // namespace tockwell::platform
