#pragma once

#include <QString>

#include <exception>

namespace tockwell {

/// The one error type of the program. Every handler that fails throws a subclass of it; the
/// guard around each event-loop entry point shows its text in the standard error box.
class Error : public std::exception
{
public:
    explicit Error(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}

    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

/// A text that should be a whole number and is not: "'%s' is not a valid integer value".
class ConvertError final : public Error
{
public:
    explicit ConvertError(const QString &value);
};

/// A failed operating-system call that the caller reports: "System Error.  Code: %d." CR LF text.
class SystemError final : public Error
{
public:
    SystemError(int code, const QString &description);
    int code() const noexcept { return m_code; }

private:
    int m_code;
};

/// The media player could not open or play a device.
class MediaDeviceError final : public Error
{
public:
    using Error::Error;
};

/// Reads a whole decimal number as the program's conversions do: leading blanks and a sign are
/// allowed, anything else (an empty text, trailing characters, a value outside 32 bits) throws
/// ConvertError.
int parseInteger(const QString &text);

} // namespace tockwell
