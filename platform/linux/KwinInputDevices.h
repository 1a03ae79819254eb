#pragma once

#include "../Input.h"
#include "InputGuard.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace tockwell::platform {

/// KDE Plasma's input devices as KWin lists them on the session bus (an org.kde.KWin.InputDevice
/// object for each, under /org/kde/KWin/InputDevice): a suspension switches off those of its
/// kind that are on (`enabled`), guarded by tockwell-input-guard as on X11, and the end of the
/// suspension switches them on again.
class KwinInputDevices
{
public:
    explicit KwinInputDevices(QString guardProgram = InputGuard::besideProgram());
    ~KwinInputDevices();
    KwinInputDevices(const KwinInputDevices &) = delete;
    KwinInputDevices &operator=(const KwinInputDevices &) = delete;

    /// Whether KWin lists its input devices (its libinput back end does; a virtual one has none).
    static bool offered();
    /// The devices' names (`event3`, …), as the guard takes them.
    static QStringList devices();
    static void setEnabled(const QString &device, bool enabled);

    void suspend(DeviceKind kind);
    void resume();

private:
    QString m_guardProgram;
    QStringList m_suspended;
    std::vector<std::unique_ptr<InputGuard>> m_guards;
};

} // namespace tockwell::platform
