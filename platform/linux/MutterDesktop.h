#pragma once

#include "../Input.h"

#include <QObject>
#include <QPoint>
#include <QString>

namespace tockwell::platform {

/// GNOME's own means for the program's input and the monitor's power, through mutter's
/// interfaces on the session bus:
/// - keys and the pointer through a remote-desktop session (org.gnome.Mutter.RemoteDesktop),
///   made at the first use and kept to the end; keys are pressed by keysym, so that mutter finds
///   them on its layout; the pointer is placed on a screen-cast stream of the primary monitor
///   (org.gnome.Mutter.ScreenCast), which mutter makes only where PipeWire runs;
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
    /// Whether mutter offers its screen casts, and PipeWire runs for their streams.
    static bool offersScreenCast();
    static bool pipeWireRuns();

    void pressKeys(const KeyCombination &keys);
    /// Moves the pointer to `pos` of the primary monitor.
    void movePointer(QPoint pos);
    void leftButton(bool down);
    void monitorOff();

private slots:
    void onWatchFired(uint id);

private:
    /// The session's object path, made and started at the first call; empty when mutter refuses.
    QString remoteDesktopSession();
    /// Adds a screen cast of the primary monitor to the remote-desktop session `session`, not yet
    /// started; the stream's object path, or nothing where mutter cannot cast.
    static QString recordPrimaryMonitor(const QString &session);
    void setPowerSaveMode(int mode);

    QString m_session;
    QString m_stream; ///< the primary monitor's stream, in which the pointer is placed
    uint m_activeWatch = 0;
};

} // namespace tockwell::platform
