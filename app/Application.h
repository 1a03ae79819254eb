#pragma once

#include "MainController.h"
#include "ui/dialogs/AboutWindow.h"
#include "ui/dialogs/OptionsDialog.h"
#include "ui/popup/AlarmPopup.h"
#include "ui/setup/SetupWindow.h"

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
    void start() { controller.showAtStart(); }

    MainController controller;
    SetupWindow setup;
    AboutWindow about;
    OptionsDialog options;
    AlarmPopup popup;
};

} // namespace tockwell
