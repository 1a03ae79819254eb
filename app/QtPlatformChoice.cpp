#include "QtPlatformChoice.h"

namespace tockwell {

std::optional<QByteArray>
preferredQtPlatform(const std::function<QByteArray(const char *)> &environment)
{
    if (!environment("QT_QPA_PLATFORM").isEmpty() || environment("DISPLAY").isEmpty())
        return std::nullopt;
    const bool wayland =
        environment("XDG_SESSION_TYPE") == "wayland" || !environment("WAYLAND_DISPLAY").isEmpty();
    if (!wayland)
        return std::nullopt;
    return QByteArray("xcb");
}

QtArguments::QtArguments(int argc, char **argv, const std::optional<QByteArray> &platform)
{
    for (int i = 0; i < argc; ++i)
        m_texts.emplace_back(argv[i]);
    if (platform) {
        m_texts.emplace_back("-platform");
        m_texts.push_back(*platform);
    }
    for (QByteArray &text : m_texts)
        m_pointers.push_back(text.data());
    m_pointers.push_back(nullptr);
    m_argc = int(m_texts.size());
}

QtStartEnvironment::QtStartEnvironment(const char *name, const QByteArray &value)
    : m_name(name), m_ours(!qEnvironmentVariableIsSet(name))
{
    if (m_ours)
        qputenv(m_name, value);
}

QtStartEnvironment::~QtStartEnvironment()
{
    if (m_ours)
        qunsetenv(m_name);
}

} // namespace tockwell
