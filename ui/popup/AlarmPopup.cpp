#include "AlarmPopup.h"

#include "WindowSlide.h"
#include "core/SlidePath.h"
#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "ui/skin/ImageFile.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace tockwell {
namespace {

// Kept above every other window, with no taskbar entry.
constexpr Qt::WindowFlags StayOnTopFlags = Qt::WindowStaysOnTopHint | Qt::Tool;
// Placed by the program, not by the window manager: managers keep the windows they manage
// inside the screen, so a managed popup could not rise from below the bottom edge (and some put
// a new window where they choose). Such a window has no taskbar entry either.
constexpr Qt::WindowFlags UnplacedFlags = Qt::FramelessWindowHint | Qt::BypassWindowManagerHint;

void placeImage(QLabel &image, const char *name, const QString &resource)
{
    image.setObjectName(QString::fromLatin1(name));
    image.setGeometry(8, 28, 128, 142);
    image.setPixmap(readPixmap(resource, "JPEG"));
}

} // namespace

template <typename Handler> void AlarmPopup::guard(Handler &&handler)
{
    guarded(m_platform.dialogs(), std::forward<Handler>(handler));
}

AlarmPopup::AlarmPopup(QWidget &setupWindow, platform::Platform &platform, QWidget *parent)
    : QWidget(parent, UnplacedFlags | StayOnTopFlags), m_setupWindow(setupWindow),
      m_platform(platform), NetGradient1(this), Bevel1(this), Img1(this), Img2(this),
      SpeedButton1(u"OK"_qs, this), Timer1(this), TimerStayOnTop(this), t_Beep(this)
{
    setObjectName(u"F_ALARMUJ"_qs);
    // Never visible; it names the window for the window manager.
    setWindowTitle(u"ALARM "_qs + QString(50, QLatin1Char('!')));
    setFixedSize(232, 173);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    createControls();
    createTimers();
    FormCreate();
}

void AlarmPopup::createControls()
{
    NetGradient1.setObjectName(u"NetGradient1"_qs);
    NetGradient1.setGeometry(0, 0, width(), 25);
    NetGradient1.setBeginColor(QColor(128, 128, 128));
    NetGradient1.setEndColor(GradientColor::system(QPalette::Button));
    QFont bold = font();
    bold.setBold(true);
    NetGradient1.setCaptionFont(bold);
    NetGradient1.setCaption(u"ALARM"_qs);
    NetGradient1.setTextLeft(12);
    NetGradient1.setTextTop(5);

    Bevel1.setObjectName(u"Bevel1"_qs);
    Bevel1.setGeometry(0, 25, width(), height() - 25);
    Bevel1.setFrameStyle(QFrame::Panel | QFrame::Raised);

    // Both pictures are visible at first, the second one above the first.
    placeImage(Img1, "Img1", u":/popup/alarm1.jpg"_qs);
    placeImage(Img2, "Img2", u":/popup/alarm2.jpg"_qs);
    Img2.raise();

    SpeedButton1.setObjectName(u"SpeedButton1"_qs);
    SpeedButton1.setGeometry(150, 141, 71, 25);
    SpeedButton1.setIcon(readIcon(u":/popup/ok.png"_qs, "PNG"));
    SpeedButton1.setIconSize(QSize(16, 16));
    connect(&SpeedButton1, &QPushButton::clicked, this, [this] { guard([this] { close(); }); });
}

void AlarmPopup::createTimers()
{
    const auto make = [this](QTimer &timer, const char *name, int interval,
                             void (AlarmPopup::*handler)()) {
        timer.setObjectName(QString::fromLatin1(name));
        timer.setInterval(interval);
        connect(&timer, &QTimer::timeout, this,
                [this, handler] { guard([&] { (this->*handler)(); }); });
    };
    make(Timer1, "Timer1", 50, &AlarmPopup::Timer1Timer);
    make(TimerStayOnTop, "TimerStayOnTop", 50, &AlarmPopup::TimerStayOnTopTimer);
    make(t_Beep, "t_Beep", 500, &AlarmPopup::t_BeepTimer);
}

void AlarmPopup::FormCreate()
{
    // Qt paints every widget through an off-screen buffer already: the popup is double-buffered
    // without asking.
}

void AlarmPopup::showAlarm(bool beep)
{
    m_setupWindow.setEnabled(false);
    if (beep)
        t_Beep.start();
    else
        t_Beep.stop();
    // Appear where the slide begins, just below the work area's bottom edge, not elsewhere first.
    move(slideStart(m_platform.display().workArea(), size()));
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    activateWindow();
    // At once, not only at the first tick: no taskbar button, not even for 50 ms.
    TimerStayOnTopTimer();
    SlideWindow(*this, m_platform.display(), 10, 2, 0, true);
}

void AlarmPopup::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The window system's own show events (a map, a restore) are not a new showing.
    if (!event->spontaneous())
        guard([this] { FormShow(); });
}

void AlarmPopup::FormShow()
{
    TimerStayOnTop.start();
    Timer1.start();
}

void AlarmPopup::closeEvent(QCloseEvent *event)
{
    guard([this] { FormClose(); });
    event->accept();
}

void AlarmPopup::FormClose()
{
    m_setupWindow.setEnabled(true);
    TimerStayOnTop.stop();
    t_Beep.stop();
    // The pictures cannot be seen swapping while the popup is hidden: no reason to wake for them.
    Timer1.stop();
}

void AlarmPopup::Timer1Timer()
{
    if (!Img1.isHidden()) {
        Img2.setVisible(true);
        Img1.setVisible(false);
    } else {
        Img1.setVisible(true);
        Img2.setVisible(false);
    }
}

void AlarmPopup::TimerStayOnTopTimer()
{
    if ((windowFlags() & StayOnTopFlags) != StayOnTopFlags) {
        // Changing the flags hides the window; it comes back where it was.
        const QPoint where = pos();
        setWindowFlags(windowFlags() | StayOnTopFlags);
        move(where);
        show();
    }
    // Ask the window manager outright too, where one manages the popup after all (a window
    // system without unmanaged windows), and put a window that came over the popup below it
    // again.
    m_platform.display().keepAbove(winId());
    raise();
}

void AlarmPopup::t_BeepTimer()
{
    m_platform.audio().beep();
}

} // namespace tockwell
