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
    void showAlarm(bool beep);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createTimers();
    /// Runs one handler of the event loop under the standard error box.
    template <typename Handler> void guard(Handler &&handler);

    void FormCreate();
    void FormShow();
    void FormClose();
    void Timer1Timer();
    void TimerStayOnTopTimer();
    void t_BeepTimer();

    QWidget &m_setupWindow;
    platform::Platform &m_platform;

    GradientCaption NetGradient1;
    QFrame Bevel1;
    QLabel Img1;
    QLabel Img2;
    QPushButton SpeedButton1;
    QTimer Timer1;
    QTimer TimerStayOnTop;
    QTimer t_Beep;
};

} // namespace tockwell
