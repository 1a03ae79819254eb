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
      Ustawnowyczas1(
          addItem(pm_Glowne, u"Ustawnowyczas1"_qs, u"Ustaw nowy czas"_qs, u"set-time.png"_qs)),
      N2(addSeparator(pm_Glowne, u"N2"_qs)),
      Pomoc1(addItem(pm_Glowne, u"Pomoc1"_qs, u"Pomoc"_qs, u"help.png"_qs)),
      Opcje1(addItem(pm_Glowne, u"Opcje1"_qs, u"Opcje"_qs, u"options.png"_qs)),
      Oprogramie1(addItem(pm_Glowne, u"Oprogramie1"_qs, u"O programie ..."_qs, u"about.png"_qs)),
      N1(addSeparator(pm_Glowne, u"N1"_qs)),
      Zamknij1(addItem(pm_Glowne, u"Zamknij1"_qs, u"Zamknij"_qs, u"quit.png"_qs))
{
    setObjectName(u"Tray"_qs);
    pm_Glowne.setObjectName(u"pm_Glowne"_qs);
    setToolTip(u"Kestrolab Tockwell"_qs);
    setContextMenu(&pm_Glowne);
}

} // namespace tockwell
