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
    /// `paths` name the program file and its folder (help pages, sounds) and the places that
    /// first-run seeding looks at.
    Application(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                const SeedingPaths &paths);
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
