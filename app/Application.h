#pragma once

#include "LazyForm.h"
#include "MainController.h"
#include "ui/dialogs/AboutWindow.h"
#include "ui/dialogs/OptionsDialog.h"
#include "ui/popup/AlarmPopup.h"
#include "ui/setup/SetupWindow.h"

namespace tockwell {

/// The program's five forms, kept to the end: the main form and the setup window created at
/// start, the About window, the options dialog and the alarm popup when first shown.
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
    LazyForm<AboutWindow> about;
    LazyForm<OptionsDialog> options;
    LazyForm<AlarmPopup> popup;
};

} // namespace tockwell
