#include "Recorder.h"

namespace tockwell::platform {

Recorder::Recorder(const QString &logFile) : m_file(logFile)
{
    if (!logFile.isEmpty() && !m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        qWarning("cannot write the platform record to %s", qPrintable(logFile));
}

void Recorder::record(const QString &line)
{
    if (m_file.fileName().isEmpty()) {
        m_lines.append(line);
        return;
    }
    if (m_file.isOpen()) {
        m_file.write(line.toUtf8() + '\n');
        m_file.flush();
    }
}

void Recorder::script(const QString &operation, const QString &answer)
{
    m_answers[operation].push_back(answer);
}

std::optional<QString> Recorder::takeAnswer(const QString &operation)
{
    const auto it = m_answers.find(operation);
    if (it == m_answers.end() || it->empty())
        return std::nullopt;
    QString answer = it->front();
    it->pop_front();
    return answer;
}

QString Recorder::quoted(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += u"\\\\";
            break;
        case '"':
            out += u"\\\"";
            break;
        case '\r':
            out += u"\\r";
            break;
        case '\n':
            out += u"\\n";
            break;
        case '\t':
            out += u"\\t";
            break;
        default:
            out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

} // namespace tockwell::platform
