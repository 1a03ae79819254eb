#include "RecentListButton.h"

#include "engine/ErrorBox.h"
#include "settings/RecentList.h"

#include <QMenu>

namespace tockwell {

RecentListButton::RecentListButton(QStringView list, const char *name, const char *menuName,
                                   QRect geometry, StoreFile &storeFile, platform::Dialogs &dialogs,
                                   QWidget *parent, const QWidget *field)
    : QToolButton(parent), m_list(list), m_storeFile(storeFile), m_dialogs(dialogs), m_field(field),
      m_menu(new QMenu(parent->window()))
{
    setObjectName(QLatin1String(name));
    setGeometry(geometry);
    setArrowType(Qt::DownArrow);
    setFocusPolicy(Qt::NoFocus);
    m_menu->setObjectName(QLatin1String(menuName));
    connect(this, &QToolButton::clicked, this, &RecentListButton::dropMenu);
}

RecentListContents RecentListButton::load()
{
    const RecentListContents contents = readRecentList(m_storeFile, m_list);
    for (const QString &entry : shownEntries(m_list, contents.names)) {
        QAction *item = m_menu->addAction(menuCaption(m_list, entry));
        item->setToolTip(entry);
        connectGuarded(m_dialogs, item, &QAction::triggered, this,
                       [this, item] { emit entryChosen(item->toolTip()); });
    }
    m_menu->addSeparator();
    QAction *clear = m_menu->addAction(u"Wyczyść listę"_qs);
    connectGuarded(m_dialogs, clear, &QAction::triggered, this, [this] {
        clearRecentList(m_storeFile, m_list);
        hide();
    });
    setVisible(contents.buttonVisible());
    return contents;
}

void RecentListButton::dropMenu()
{
    QPoint at;
    if (!m_field) { // beside the button, level with its top
        at = mapToGlobal(QPoint(width(), 0));
    } else { // below the field, 5 pixels in from its left edge
        at = m_field->parentWidget()->mapToGlobal(QPoint(m_field->x() + 5, y() + height()));
    }
    m_menu->popup(at);
}

} // namespace tockwell
