#pragma once

#include "GradientCaption.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace tockwell {
namespace platform {
class Platform;
}

/// The alarm popup: a small borderless window above all others that slides into the corner of
/// the screen when an alarm of the default kind goes off, flashes two pictures and may beep.
/// Created once, hidden, and reused for every showing.
class AlarmPopup final : public QWidget
{
    Q_OBJECT

public:
    /// `setupWindow` takes no input while the popup is shown and is enabled again when it closes;
    /// `platform` gives the beep and the work area the popup slides into.
    AlarmPopup(QWidget &setupWindow, platform::Platform &platform, QWidget *parent = nullptr);

    /// Shows the alarm: disables the setup window, lets the popup beep twice a second exactly
    /// when `beep`, shows it and slides it into the bottom-right corner of the work area. Returns
    /// when it is there; the event loop runs meanwhile. The one showing sequence of the program.
    /// `lift` raises the corner by that many pixels, above the popups of other alarms.
    void showAlarm(bool beep, int lift = 0);

signals:
    /// "Drzemka" in the popup's menu: the alarm again in `minutes`.
    void snoozeRequested(int minutes);
    /// The popup was closed.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void createControls();
    void createTimers();
    void startShowing();
    void stopShowing();
    void swapPictures();
    void keepOnTop();
    void beep();

    QWidget &m_setupWindow;
    platform::Platform &m_platform;

    GradientCaption m_caption;
    QFrame m_frame;
    QLabel m_firstPicture;
    QLabel m_secondPicture;
    QPushButton m_okButton;
    QTimer m_flashTimer;
    QTimer m_stayOnTopTimer;
    QTimer m_beepTimer;
};

} // namespace tockwell
