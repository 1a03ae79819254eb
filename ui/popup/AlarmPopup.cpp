#include "AlarmPopup.h"

#include "WindowSlide.h"
#include "core/SlidePath.h"
#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "ui/skin/ImageFile.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
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

AlarmPopup::AlarmPopup(QWidget &setupWindow, platform::Platform &platform, QWidget *parent)
    : QWidget(parent, UnplacedFlags | StayOnTopFlags), m_setupWindow(setupWindow),
      m_platform(platform), m_caption(this), m_frame(this), m_firstPicture(this),
      m_secondPicture(this), m_okButton(u"OK"_qs, this), m_flashTimer(this), m_stayOnTopTimer(this),
      m_beepTimer(this)
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
    // Qt paints every widget through an off-screen buffer already: the popup is double-buffered
    // without asking.
}

void AlarmPopup::createControls()
{
    m_caption.setObjectName(u"NetGradient1"_qs);
    m_caption.setGeometry(0, 0, width(), 25);
    m_caption.setBeginColor(QColor(128, 128, 128));
    m_caption.setEndColor(GradientColor::system(QPalette::Button));
    QFont bold = font();
    bold.setBold(true);
    m_caption.setCaptionFont(bold);
    m_caption.setCaption(u"ALARM"_qs);
    m_caption.setTextLeft(12);
    m_caption.setTextTop(5);

    m_frame.setObjectName(u"Bevel1"_qs);
    m_frame.setGeometry(0, 25, width(), height() - 25);
    m_frame.setFrameStyle(QFrame::Panel | QFrame::Raised);

    // Both pictures are visible at first, the second one above the first.
    placeImage(m_firstPicture, "Img1", u":/popup/alarm1.jpg"_qs);
    placeImage(m_secondPicture, "Img2", u":/popup/alarm2.jpg"_qs);
    m_secondPicture.raise();

    m_okButton.setObjectName(u"SpeedButton1"_qs);
    m_okButton.setGeometry(150, 141, 71, 25);
    m_okButton.setIcon(readIcon(u":/popup/ok.png"_qs, "PNG"));
    m_okButton.setIconSize(QSize(16, 16));
    connectGuarded(m_platform.dialogs(), &m_okButton, &QPushButton::clicked, this,
                   &AlarmPopup::close);
}

void AlarmPopup::createTimers()
{
    const auto make = [this](QTimer &timer, const char *name, int interval,
                             void (AlarmPopup::*handler)()) {
        timer.setObjectName(QString::fromLatin1(name));
        timer.setInterval(interval);
        connectGuarded(m_platform.dialogs(), &timer, &QTimer::timeout, this, handler);
    };
    make(m_flashTimer, "Timer1", 50, &AlarmPopup::swapPictures);
    make(m_stayOnTopTimer, "TimerStayOnTop", 50, &AlarmPopup::keepOnTop);
    make(m_beepTimer, "t_Beep", 500, &AlarmPopup::beep);
}

void AlarmPopup::showAlarm(bool beep, int lift)
{
    m_setupWindow.setEnabled(false);
    if (beep)
        m_beepTimer.start();
    else
        m_beepTimer.stop();
    // Appear where the slide begins, just below the work area's bottom edge, not elsewhere first.
    move(slideStart(m_platform.display().workArea(), size()) - QPoint(0, lift));
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    activateWindow();
    // At once, not only at the first tick: no taskbar button, not even for 50 ms.
    keepOnTop();
    slideWindow(*this, m_platform.display(), 10, 2, 0, true, lift);
}

void AlarmPopup::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The window system's own show events (a map, a restore) are not a new showing.
    if (!event->spontaneous())
        guarded(m_platform.dialogs(), [this] { startShowing(); });
}

void AlarmPopup::startShowing()
{
    m_stayOnTopTimer.start();
    m_flashTimer.start();
}

void AlarmPopup::closeEvent(QCloseEvent *event)
{
    guarded(m_platform.dialogs(), [this] { stopShowing(); });
    event->accept();
    emit closed();
}

void AlarmPopup::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QMenu *snooze = menu.addMenu(u"Drzemka"_qs);
    for (const int minutes : {5, 10, 15})
        snooze->addAction(u"%1 minut"_qs.arg(minutes))->setData(minutes);
    if (const QAction *chosen = menu.exec(event->globalPos()); chosen && chosen->data().isValid())
        emit snoozeRequested(chosen->data().toInt());
}

void AlarmPopup::stopShowing()
{
    m_setupWindow.setEnabled(true);
    m_stayOnTopTimer.stop();
    m_beepTimer.stop();
    // The pictures cannot be seen swapping while the popup is hidden: no reason to wake for them.
    m_flashTimer.stop();
}

void AlarmPopup::swapPictures()
{
    if (!m_firstPicture.isHidden()) {
        m_secondPicture.setVisible(true);
        m_firstPicture.setVisible(false);
    } else {
        m_firstPicture.setVisible(true);
        m_secondPicture.setVisible(false);
    }
}

void AlarmPopup::keepOnTop()
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

void AlarmPopup::beep()
{
    m_platform.audio().beep();
}

} // namespace tockwell
