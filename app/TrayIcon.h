#pragma once

#include <QMenu>
#include <QSystemTrayIcon>

class QAction;

namespace tockwell {

/// The program's icon in the tray with its menu `pm_Glowne`. The main form connects the items
/// and the icon's clicks to its handlers.
class TrayIcon final : public QSystemTrayIcon
{
    Q_OBJECT

public:
    explicit TrayIcon(QObject *parent = nullptr);

    QMenu pm_Glowne;
    QAction *const Ustawnowyczas1;
    QAction *const N2;
    QAction *const Pomoc1;
    QAction *const Opcje1;
    QAction *const Oprogramie1;
    QAction *const N1;
    QAction *const Zamknij1;
};

} // namespace tockwell
