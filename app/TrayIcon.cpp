#include "TrayIcon.h"

#include "ui/skin/ImageFile.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QWidget>

namespace tockwell {
namespace {

QAction *addItem(QMenu &menu, const QString &name, const QString &caption, const QString &icon)
{
    QAction *item = menu.addAction(readIcon(u":/icons/"_qs + icon, "PNG"), caption);
    item->setObjectName(name);
    return item;
}

QAction *addSeparator(QMenu &menu, const QString &name)
{
    QAction *separator = menu.addSeparator();
    separator->setObjectName(name);
    return separator;
}

} // namespace

TrayIcon::TrayIcon(QObject *parent)
    : QSystemTrayIcon(readIcon(u":/icons/tockwell.png"_qs, "PNG"), parent),
      m_alarmsMenu(u"Alarmy"_qs), m_snoozeMenu(u"Drzemka"_qs),
      m_setTimeItem(
          addItem(m_menu, u"Ustawnowyczas1"_qs, u"Ustaw nowy czas"_qs, u"set-time.png"_qs)),
      m_newAlarmItem(addItem(m_menu, u"Nowyalarm1"_qs, u"Nowy alarm"_qs, u"set-time.png"_qs)),
      m_separatorAfterSetTime(addSeparator(m_menu, u"N2"_qs)),
      m_helpItem(addItem(m_menu, u"Pomoc1"_qs, u"Pomoc"_qs, u"help.png"_qs)),
      m_optionsItem(addItem(m_menu, u"Opcje1"_qs, u"Opcje"_qs, u"options.png"_qs)),
      m_aboutItem(addItem(m_menu, u"Oprogramie1"_qs, u"O programie ..."_qs, u"about.png"_qs)),
      m_separatorBeforeQuit(addSeparator(m_menu, u"N1"_qs)),
      m_quitItem(addItem(m_menu, u"Zamknij1"_qs, u"Zamknij"_qs, u"quit.png"_qs))
{
    setObjectName(u"Tray"_qs);
    m_menu.setObjectName(u"pm_Glowne"_qs);
    // Below "Nowy alarm", shown only while they have something to offer.
    for (auto [menu, name] :
         {std::pair{&m_alarmsMenu, u"pm_Alarmy"_qs}, std::pair{&m_snoozeMenu, u"pm_Drzemka"_qs}}) {
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name.mid(3) + u"1"_qs);
        m_menu.insertMenu(m_separatorAfterSetTime, menu)->setVisible(false);
    }
    for (const int minutes : {5, 10, 15}) {
        QAction *item = m_snoozeMenu.addAction(u"%1 minut"_qs.arg(minutes));
        item->setObjectName(u"Drzemka%1"_qs.arg(minutes));
        item->setData(minutes);
    }
    setToolTip(u"Kestrolab Tockwell"_qs);
    setContextMenu(&m_menu);
}

bool TrayIcon::canShowNotices() const
{
    if (!supportsMessages())
        return false;
    const QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    if (!bus || !bus->isServiceRegistered(u"org.kde.StatusNotifierWatcher"_qs))
        return true; // an XEmbed icon: Qt's own balloon
    const QString notifications = u"org.freedesktop.Notifications"_qs;
    return bus->isServiceRegistered(notifications) ||
           bus->activatableServiceNames().value().contains(notifications);
}

void TrayIcon::showNotice(const QString &title, const QString &text, int timeoutMs)
{
    showMessage(title, text, QSystemTrayIcon::Information, timeoutMs);
    moveNoticeOffIcon();
}

// On an XEmbed tray Qt draws the notice itself: a balloon whose arrow ends at the icon's centre,
// so that it covers half the icon, and a click there would only close the balloon. The balloon
// moves up (down where it hangs below the icon) to end at the icon's edge, and the icon takes
// every click. A notice shown by a notification service has no window here.
void TrayIcon::moveNoticeOffIcon() const
{
    const QRect icon = geometry();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        const QRect notice = window->geometry();
        if (!window->inherits("QBalloonTip") || !window->isVisible() || !notice.intersects(icon))
            continue;
        const int shift = notice.center().y() < icon.center().y()
                              ? icon.top() - 1 - notice.bottom()
                              : icon.bottom() + 1 - notice.top();
        window->move(notice.topLeft() + QPoint(0, shift));
    }
}

} // namespace tockwell
