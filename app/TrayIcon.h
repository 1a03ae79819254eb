#pragma once

#include <QMenu>
#include <QSystemTrayIcon>

class QAction;

namespace tockwell {

/// The program's icon in the tray with its menu (`pm_Glowne`). The main form connects the items
/// and the icon's clicks to its handlers; tests find the items by their object names.
class TrayIcon final : public QSystemTrayIcon
{
    Q_OBJECT

public:
    explicit TrayIcon(QObject *parent = nullptr);

    QAction *setTimeItem() const { return m_setTimeItem; }
    QAction *newAlarmItem() const { return m_newAlarmItem; }
    /// "Alarmy": a line per armed alarm; shown while any is armed.
    QMenu &alarmsMenu() { return m_alarmsMenu; }
    /// "Drzemka": its items carry the minutes as their data; shown while a snooze is offered.
    QMenu &snoozeMenu() { return m_snoozeMenu; }
    QAction *helpItem() const { return m_helpItem; }
    QAction *optionsItem() const { return m_optionsItem; }
    QAction *aboutItem() const { return m_aboutItem; }
    QAction *quitItem() const { return m_quitItem; }

    /// Whether a notice of the icon reaches the user. Qt draws one itself beside an XEmbed icon,
    /// but hands it to the desktop's notification service for a StatusNotifier item: without
    /// that service (running or started on demand) the notice would be lost.
    bool canShowNotices() const;
    /// Shows a notice of `title` and `text` at the icon for `timeoutMs`, clear of the icon.
    void showNotice(const QString &title, const QString &text, int timeoutMs);

private:
    void moveNoticeOffIcon() const;

    QMenu m_menu;
    QMenu m_alarmsMenu;
    QMenu m_snoozeMenu;
    QAction *const m_setTimeItem;
    QAction *const m_newAlarmItem;
    QAction *const m_separatorAfterSetTime;
    QAction *const m_helpItem;
    QAction *const m_optionsItem;
    QAction *const m_aboutItem;
    QAction *const m_separatorBeforeQuit;
    QAction *const m_quitItem;
};

} // namespace tockwell
