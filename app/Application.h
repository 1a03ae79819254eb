#pragma once

#include "Glowny.h"
#include "ui/dialogs/Unit2.h"
#include "ui/dialogs/about.h"
#include "ui/popup/Unit3.h"
#include "ui/setup/Unit1.h"

namespace tockwell {

/// The program's five forms, created once in their order and kept to the end.
class Application final
{
public:
    /// `programDir` is the folder of the program file, where the help pages lie.
    Application(platform::Platform &platform, const Clock &clock, const QString &programDir);
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    /// Shows the setup window, as every start does.
    void start() { F_Glowna.FormPaint(); }

    TF_Glowna F_Glowna;
    TF_Alarm F_Alarm;
    TF_About F_About;
    TF_Opcje F_Opcje;
    TF_ALARMUJ F_ALARMUJ;
};

} // namespace tockwell
