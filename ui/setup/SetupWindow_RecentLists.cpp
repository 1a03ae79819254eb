// The recent-entries lists in the window: the seven list menus, the two message combo boxes,
// the current entries restored into the fields, picking and clearing.
#include "AlarmDraft.h"
#include "FileNameEdit.h"
#include "SetupWindow.h"
#include "WideListComboBox.h"
#include "engine/ErrorBox.h"
#include "engine/PolishOrder.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/TimeEntry.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>

namespace tockwell {
namespace {

void setFields(QSpinBox *hours, QSpinBox *minutes, QSpinBox *seconds, const TimeParts &parts)
{
    hours->setValue(parts.hours);
    minutes->setValue(parts.minutes);
    seconds->setValue(parts.seconds);
}

// Fills a message box's items with all names of its list, sorted, and its text with the current
// entry.
void fillMessageCombo(QComboBox *box, const RecentListContents &contents)
{
    QStringList items = contents.names;
    std::sort(items.begin(), items.end(), polishLess);
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(contents.current.value_or(QString()));
}

} // namespace

void SetupWindow::loadRecentLists()
{
    for (const RecentListRow &row : AlarmDraft::recentListRows()) {
        const RecentListContents contents = readRecentList(m_storeFile, row.list);
        if (row.pick == RecentPick::ComboItems) {
            fillMessageCombo(findChild<QComboBox *>(row.field.toString()), contents);
            continue;
        }
        loadMenu(row, contents);
        restoreCurrentEntry(row, contents);
    }
}

void SetupWindow::restoreCurrentEntry(const RecentListRow &row, const RecentListContents &contents)
{
    if (row.pick != RecentPick::FieldText) {
        if (const QString current = contents.current.value_or(QString()); !current.isEmpty())
            pickRecentEntry(row, current);
        return;
    }
    // Restoring is not an edit: the field's check runs when its kind is shown.
    QWidget *field = control(row.field);
    const QSignalBlocker blocker(field);
    setFieldText(field, restoredFieldText(row.list, contents));
}

void SetupWindow::setFieldText(QWidget *field, const QString &text)
{
    if (auto *file = qobject_cast<FileNameEdit *>(field))
        file->setText(text);
    else if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->setText(text);
}

void SetupWindow::pickRecentEntry(const RecentListRow &row, const QString &entry)
{
    switch (row.pick) {
    case RecentPick::ClockTime:
        setClockTimeFromText(entry);
        break;
    case RecentPick::Countdown:
        setCountdownFromText(entry);
        break;
    case RecentPick::FieldText:
        setFieldText(control(row.field), entry);
        break;
    case RecentPick::ComboItems:
        break;
    }
}

void SetupWindow::loadMenu(const RecentListRow &row, const RecentListContents &contents)
{
    auto *menu = findChild<QMenu *>(row.menu.toString());
    auto *button = findChild<QToolButton *>(row.button.toString());
    for (const QString &entry : shownEntries(row.list, contents.names)) {
        QAction *item = menu->addAction(menuCaption(row.list, entry));
        item->setToolTip(entry);
        connectGuarded(m_platform.dialogs(), item, &QAction::triggered, this,
                       [this, &row, item] { pickRecentEntry(row, item->toolTip()); });
    }
    menu->addSeparator();
    QAction *clear = menu->addAction(u"Wyczyść listę"_qs);
    connectGuarded(m_platform.dialogs(), clear, &QAction::triggered, this, [this, &row, button] {
        clearRecentList(m_storeFile, row.list);
        button->hide();
    });
    button->setVisible(contents.buttonVisible());
    connect(button, &QToolButton::clicked, this, [this, &row] { popupMenu(row); });
}

void SetupWindow::popupMenu(const RecentListRow &row)
{
    const auto *button = findChild<QToolButton *>(row.button.toString());
    QPoint at;
    if (row.field.isEmpty()) { // beside the time list's button, level with its top
        at = button->mapToGlobal(QPoint(button->width(), 0));
    } else { // below the field, 5 pixels in from its left edge
        const QWidget *field = control(row.field);
        at = field->parentWidget()->mapToGlobal(
            QPoint(field->x() + 5, button->y() + button->height()));
    }
    findChild<QMenu *>(row.menu.toString())->popup(at);
}

void SetupWindow::showTimeFormatError()
{
    m_platform.dialogs().messageBox(TimeFormatErrorText.toString(),
                                    TimeFormatErrorCaption.toString(),
                                    platform::mb::Ok | platform::mb::IconError);
}

void SetupWindow::setClockTimeFromText(const QString &text)
{
    const std::optional<TimeParts> parts = clockTimeFromText(text);
    setFields(m_clockHours, m_clockMinutes, m_clockSeconds, parts.value_or(TimeParts()));
    if (!parts)
        showTimeFormatError();
}

void SetupWindow::setCountdownFromText(const QString &text)
{
    const std::optional<TimeParts> parts = countdownFromText(text);
    setFields(m_countdownHours, m_countdownMinutes, m_countdownSeconds,
              parts.value_or(TimeParts()));
    if (!parts)
        showTimeFormatError();
}

} // namespace tockwell
