#include "TrayIcon.h"

#include "ui/skin/ImageFile.h"

#include <QAction>

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
      m_setTimeItem(
          addItem(m_menu, u"Ustawnowyczas1"_qs, u"Ustaw nowy czas"_qs, u"set-time.png"_qs)),
      m_separatorAfterSetTime(addSeparator(m_menu, u"N2"_qs)),
      m_helpItem(addItem(m_menu, u"Pomoc1"_qs, u"Pomoc"_qs, u"help.png"_qs)),
      m_optionsItem(addItem(m_menu, u"Opcje1"_qs, u"Opcje"_qs, u"options.png"_qs)),
      m_aboutItem(addItem(m_menu, u"Oprogramie1"_qs, u"O programie ..."_qs, u"about.png"_qs)),
      m_separatorBeforeQuit(addSeparator(m_menu, u"N1"_qs)),
      m_quitItem(addItem(m_menu, u"Zamknij1"_qs, u"Zamknij"_qs, u"quit.png"_qs))
{
    setObjectName(u"Tray"_qs);
    m_menu.setObjectName(u"pm_Glowne"_qs);
    setToolTip(u"Kestrolab Tockwell"_qs);
    setContextMenu(&m_menu);
}

} // namespace tockwell
