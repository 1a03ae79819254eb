#pragma once

#include "../Input.h"
#include "InputGuard.h"
#include "X11.h"
#include "X11Keyboard.h"

#include <QString>

#include <memory>
#include <vector>

namespace tockwell::platform {

namespace x11 {
struct XTestFunctions;
struct XInputFunctions;
} // namespace x11

/// The pointer and the input devices of an X11 desktop: the pointer read and moved and clicks
/// made through XTest, all in the root window's (device) pixels; suspension by disabling the
/// XInput devices, guarded by a helper process that gives them back however the program ends.
/// libXtst and libXi are loaded at their first use (without them those effects do nothing).
/// Elsewhere the pointer is read and placed through Qt where it can be, and the rest does
/// nothing.
class X11Input final : public Input
{
public:
    /// `guardProgram` is the tockwell-input-guard helper; without it no device is suspended.
    explicit X11Input(QString guardProgram = InputGuard::besideProgram());
    ~X11Input() override;

    QPoint cursorPos() override;
    void setCursorPos(QPoint pos) override;
    void mouseButton(MouseButtonEvent event, QPoint pos) override;
    void suspendKeyboard() override;
    void suspendMouse() override;
    void resumeInput() override;
    QSize screenSize() override;
    /// Key events through XTest, on the keys that X11Keyboard finds or binds.
    void pressKeys(const KeyCombination &keys) override;
    /// The kernel's codes of the keys that type `keys` on the X server's layout, in the order
    /// they are held, the key last: in a Wayland session XWayland's layout is the compositor's.
    /// Empty without X11 or where a key cannot be found.
    std::vector<uint32_t> layoutCodes(const KeyCombination &keys);

private:
    void suspend(DeviceKind kind);
    /// The XInput ids of the physical devices of `kind` on the X display that are enabled now:
    /// what a suspension takes away. The XTest devices are not among them, so that the
    /// program's own simulated clicks still work; empty without X11 or XInput 2.
    std::vector<int> suspendableDevices(DeviceKind kind);
    /// Sets the XInput property "Device Enabled" of the devices `ids`; nothing without X11.
    void setDevicesEnabled(const std::vector<int> &ids, bool enabled);

    QString m_guardProgram;
    x11::Extension<x11::XTestFunctions> m_xtest;
    x11::Extension<x11::XInputFunctions> m_xinput;
    X11Keyboard m_keyboard;
    std::vector<int> m_suspended;
    std::vector<std::unique_ptr<InputGuard>> m_guards;
};

} // namespace tockwell::platform
