#pragma once

#include <QString>

namespace tockwell::platform {

/// Show states of a started program or opened document, with their Windows values.
enum class ShowCommand
{
    Show = 5,
    ShowNormal = 1,
    ShowMaximized = 3
};

/// Opening and starting things: documents, folders, web addresses, programs.
class Shell
{
public:
    Shell() = default;
    Shell(const Shell &) = delete;
    Shell &operator=(const Shell &) = delete;
    virtual ~Shell() = default;

    /// Opens `target` as the desktop opens it: a program is started with `parameters` as its
    /// argument list, a document or folder opens in its default application, a web address in
    /// the browser. Returns at once; a failure is not reported.
    virtual void open(const QString &target, const QString &parameters, ShowCommand show) = 0;

    /// Opens the desktop's file manager (the counterpart of starting "explorer.exe").
    virtual void openFileManager() = 0;

    /// Opens the default web browser on a blank page ("about:blank").
    virtual void openBlankBrowser() = 0;

    /// Opens the desktop's settings program (the Control Panel).
    virtual void openControlPanel() = 0;
};

} // namespace tockwell::platform
