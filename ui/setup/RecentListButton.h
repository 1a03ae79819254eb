#pragma once

#include <QStringView>
#include <QToolButton>

class QMenu;

namespace tockwell {

class StoreFile;
struct RecentListContents;
namespace platform {
class Dialogs;
}

/// The button that drops a recent list's menu: the entries the list shows, a separator and
/// "Wyczyść listę", which empties the list and hides the button. The menu drops beside the
/// button, level with its top, or, for a list that fills a field, below that field.
class RecentListButton final : public QToolButton
{
    Q_OBJECT

public:
    /// The button `name` of the list `list` at `geometry`, its menu named `menuName`; `field`
    /// (none for a time list) is the field the list's entries fill.
    RecentListButton(QStringView list, const char *name, const char *menuName, QRect geometry,
                     StoreFile &storeFile, platform::Dialogs &dialogs, QWidget *parent,
                     const QWidget *field = nullptr);

    /// Fills the menu from the list as it is stored and shows the button when the list holds
    /// two names or more; returns the list.
    RecentListContents load();

signals:
    /// An entry of the menu was chosen; the handlers run inside the event loop's guard.
    void entryChosen(const QString &entry);

private:
    void dropMenu();

    QStringView m_list;
    StoreFile &m_storeFile;
    platform::Dialogs &m_dialogs;
    const QWidget *m_field;
    /// A child of the window, not of the button: it is not greyed with the button (the time
    /// lists' buttons are, with their mode).
    QMenu *m_menu;
};

} // namespace tockwell
