#pragma once

#include <QByteArray>

#include <functional>
#include <optional>
#include <vector>

namespace tockwell {

/// The Qt platform the program asks for before the application object exists. In a Wayland
/// session it runs through XWayland, since it places windows at absolute positions, shapes its
/// setup window and simulates clicks, which only X11 allows; a platform the user chose
/// (QT_QPA_PLATFORM) is left alone, and without an X server there is nothing to choose.
/// `environment` reads one environment variable (empty when unset).
std::optional<QByteArray>
preferredQtPlatform(const std::function<QByteArray(const char *)> &environment);

/// The command line QApplication is made with: the program's own, with "-platform NAME" added
/// when `platform` is given. The choice reaches Qt this way rather than through QT_QPA_PLATFORM,
/// so that the programs an alarm starts get the environment the program was started with. The
/// object must outlive the application object, which keeps the count and the texts.
class QtArguments final
{
public:
    QtArguments(int argc, char **argv, const std::optional<QByteArray> &platform);
    QtArguments(const QtArguments &) = delete;
    QtArguments &operator=(const QtArguments &) = delete;

    int &argc() { return m_argc; }
    char **argv() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_texts;
    std::vector<char *> m_pointers; ///< into m_texts, ending in a null pointer
    int m_argc = 0;
};

/// An environment variable for Qt to read while the application object is made, set for as
/// long as this object lives, so that the programs an alarm starts never see it. A variable the
/// user set is left as it is.
class QtStartEnvironment final
{
public:
    QtStartEnvironment(const char *name, const QByteArray &value);
    QtStartEnvironment(const QtStartEnvironment &) = delete;
    QtStartEnvironment &operator=(const QtStartEnvironment &) = delete;
    ~QtStartEnvironment();

private:
    const char *m_name;
    bool m_ours;
};

} // namespace tockwell
