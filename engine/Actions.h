#pragma once

#include "core/ArmedAlarm.h"

#include <QPoint>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace tockwell {

class AlarmHost;
namespace platform {
class Platform;
enum class Operation;
} // namespace platform

/// The parameters of the sub-actions that take one, asked for only by the sub-action that needs
/// it (a click point that is not a number is an error only for a click).
struct OtherArgs
{
    std::function<QPoint()> clickPoint;
    CdTrayRequest cdTray;
    QString keyText; ///< the key text of the key press ("[CTRL+C] Kopiuj")
};

/// The actions an alarm carries out, shared by the executor and the preview.
class Actions final
{
public:
    Actions(platform::Platform &platform, AlarmHost &host) : m_platform(platform), m_host(host) {}

    /// Moves the pointer to the top-left corner and back, which ends a running screen saver.
    void wakeScreenSaver();
    void minimizeAllWindows();
    void hideSetupWindow();
    void showAlarmPopup(bool beep);
    void showMessage(const QString &title, const QString &text, unsigned flags);
    /// Plays `file`; when the player cannot, throws the error that names its extension.
    void playSound(const QString &file);
    void open(const QString &target);
    /// The shutdown choice `choice`, between taking and giving back the shutdown privilege.
    void shutdown(QStringView choice);
    /// The sub-action `subAction` of "Inne możliwości"; an unknown text does nothing.
    void other(QStringView subAction, const OtherArgs &args);

    /// Where this desktop cannot do the sub-action `subAction`: tells the user why, and true.
    bool tellIfRefused(QStringView subAction) { return refused(desktopOperation(subAction)); }

    /// The text shown when a sound file cannot be played.
    static QString soundErrorText(const QString &file);
    /// The extension of a file name: from the last "." of its last path element, the "."
    /// included; empty when there is none.
    static QString fileExtension(const QString &file);

private:
    /// The operation of the desktop that the sub-action `subAction` needs, where its means
    /// depend on the desktop.
    static std::optional<platform::Operation> desktopOperation(QStringView subAction);
    /// Tells the user why the desktop cannot do what the alarm asks, where it cannot: then true,
    /// and the action is left undone.
    bool refused(std::optional<platform::Operation> operation);
    /// Shows why an action cannot be done here.
    void tellRefusal(const QString &why);
    void click(QPoint point, int times);
    void pressKey(QStringView keyText);

    platform::Platform &m_platform;
    AlarmHost &m_host;
};

} // namespace tockwell
