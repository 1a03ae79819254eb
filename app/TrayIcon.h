#pragma once

#include <QMenu>
#include <QSystemTrayIcon>

#include <memory>

class QAction;

namespace tockwell {

/// The program's icon in the tray with its menu `pm_Glowne`. The main form connects the items
/// and the icon's clicks to its handlers.
class TrayIcon final : public QObject
{
    Q_OBJECT

public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    /// Puts the icon into the tray (where the desktop has one, now or later).
    void show();
    /// Makes the icon anew, keeping its menu and shown state. Qt chooses the kind of tray an
    /// icon goes to (a StatusNotifier host on D-Bus, else the X11 tray) when the icon is made: an
    /// icon made before the desktop's StatusNotifier watcher came would never be seen where the
    /// desktop has only that kind of tray.
    void rebuild();

    QString toolTip() const { return m_icon->toolTip(); }
    QIcon icon() const { return m_icon->icon(); }
    QMenu *contextMenu() const { return m_icon->contextMenu(); }

    QMenu pm_Glowne;
    QAction *const Ustawnowyczas1;
    QAction *const N2;
    QAction *const Pomoc1;
    QAction *const Opcje1;
    QAction *const Oprogramie1;
    QAction *const N1;
    QAction *const Zamknij1;

signals:
    /// A click, double click or other activation of the icon.
    void activated(QSystemTrayIcon::ActivationReason reason);

private:
    std::unique_ptr<QSystemTrayIcon> makeIcon();

    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace tockwell
