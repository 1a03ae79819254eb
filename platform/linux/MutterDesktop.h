#pragma once

#include "../Input.h"

#include <QObject>
#include <QString>

namespace tockwell::platform {

/// GNOME's own means for the program's key presses and the monitor's power, through mutter's
/// interfaces on the session bus:
/// - keys through a remote-desktop session (org.gnome.Mutter.RemoteDesktop), made at the first
///   press and kept to the end, pressed by keysym so that mutter finds them on its layout;
/// - the monitor off through the displays' power-saving mode (org.gnome.Mutter.DisplayConfig,
///   3), set back to on (0) at the user's next input, which mutter's idle monitor reports, as
///   DPMS does on X11.
class MutterDesktop final : public QObject
{
    Q_OBJECT

public:
    MutterDesktop();
    ~MutterDesktop() override;

    /// Whether mutter offers its remote desktop, and its display configuration.
    static bool offersRemoteDesktop();
    static bool offersDisplayConfig();

    void pressKeys(const KeyCombination &keys);
    void monitorOff();

private slots:
    void onWatchFired(uint id);

private:
    /// The session's object path, made and started at the first call; empty when mutter refuses.
    QString remoteDesktopSession();
    void setPowerSaveMode(int mode);

    QString m_session;
    uint m_activeWatch = 0;
};

} // namespace tockwell::platform
