#pragma once

#include "../Dialogs.h"

namespace tockwell::platform {

/// Message boxes as QMessageBox: icon and buttons from the flags, on top for the topmost flag,
/// "\r" as a line break, modal to the whole application so the other windows are disabled.
class LinuxDialogs final : public Dialogs
{
public:
    Answer messageBox(const QString &text, const QString &caption, unsigned flags) override;
};

} // namespace tockwell::platform
