#pragma once

#include "../Input.h"

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>

namespace tockwell::platform {

/// GNOME's own means for the program's input and the monitor's power, through mutter's
/// interfaces on the session bus:
/// - keys and the pointer through remote-desktop sessions (org.gnome.Mutter.RemoteDesktop), one
///   for each, made at the first use and kept to the end; keys are pressed by keysym, so that
///   mutter finds them on its layout; the pointer is placed on a screen cast of the whole layout
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
    /// Moves the pointer to `pos` of the layout of all monitors, of size `layout` (asked only at
    /// the first move, when the pointer's session is made).
    void movePointer(QPoint pos, QSize layout);
    void leftButton(bool down);
    void monitorOff();

private slots:
    void onWatchFired(uint id);

private:
    /// A remote-desktop session's object path, and the stream of its screen cast where it has one.
    struct Session
    {
        QString path;
        QString stream;
        /// The stream's pixels to one of the layout's: mutter makes a screen cast of an area at
        /// the largest scale of its monitors, in a logical layout (fractional scaling).
        double streamScale = 1.0;
    };

    /// A new session, started, with a screen cast of a layout of size `layout` unless that is
    /// empty; nothing when mutter refuses.
    static Session startSession(QSize layout);
    /// Adds a screen cast of the layout's area to the session `session`, not yet started; the
    /// stream's object path, or nothing where mutter cannot cast.
    static QString recordLayout(const QString &session, QSize layout);
    /// The scale of a screen cast of the whole layout: the largest of its monitors' scales in a
    /// logical layout, 1 in a physical one (there the monitors' pixels are the layout's).
    static double layoutStreamScale();
    void setPowerSaveMode(int mode);

    Session m_keys;
    Session m_pointer;
    uint m_activeWatch = 0;
};

} // namespace tockwell::platform
