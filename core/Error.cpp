#include "Error.h"

#include <limits>

namespace tockwell {

ConvertError::ConvertError(const QString &value)
    : Error(QStringLiteral("'%1' is not a valid integer value").arg(value))
{}

SystemError::SystemError(int code, const QString &description)
    : Error(QStringLiteral("System Error.  Code: %1.\r\n%2").arg(code).arg(description)),
      m_code(code)
{}

int parseInteger(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        negative = text.at(i++) == QLatin1Char('-');
    if (i == text.size())
        throw ConvertError(text);

    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw ConvertError(text);
        value = value * 10 + (c.unicode() - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            throw ConvertError(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        throw ConvertError(text);
    return int(value);
}

} // namespace tockwell
