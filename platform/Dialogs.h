#pragma once

#include <QString>

namespace tockwell::platform {

/// Message box flags and answers, with their Windows values.
namespace mb {
inline constexpr unsigned Ok = 0x0;
inline constexpr unsigned OkCancel = 0x1;
inline constexpr unsigned YesNo = 0x4;
inline constexpr unsigned IconError = 0x10; ///< the stop icon
inline constexpr unsigned IconQuestion = 0x20;
inline constexpr unsigned IconExclamation = 0x30;
inline constexpr unsigned IconInformation = 0x40;
inline constexpr unsigned Topmost = 0x40000;
} // namespace mb

enum class Answer
{
    Ok = 1,
    Cancel = 2,
    Yes = 6,
    No = 7
};

/// Modal message boxes of the program.
class Dialogs
{
public:
    Dialogs() = default;
    Dialogs(const Dialogs &) = delete;
    Dialogs &operator=(const Dialogs &) = delete;
    virtual ~Dialogs() = default;

    /// Shows a modal box with `text` ("\r" breaks a line), `caption` and the buttons and icon of
    /// `flags`, keeps the event loop running until the user answers, and returns the answer.
    virtual Answer messageBox(const QString &text, const QString &caption, unsigned flags) = 0;
};

} // namespace tockwell::platform
