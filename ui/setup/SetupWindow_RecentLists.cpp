// The recent-entries lists in the window: the two message combo boxes, and the current entries
// of the five lists of a field restored into their fields.
#include "AlarmDraft.h"
#include "FileNameEdit.h"
#include "RecentListButton.h"
#include "SetupWindow.h"
#include "TimingGroup.h"
#include "WideListComboBox.h"
#include "engine/PolishOrder.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace tockwell {
namespace {

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

void SetupWindow::loadRecentLists(const LastSettings &last)
{
    m_timing->restore(last);
    fillMessageCombo(m_messageTextBox, readRecentList(m_storeFile, keys::Kom_Text_MRU));
    fillMessageCombo(m_captionBox, readRecentList(m_storeFile, keys::Kom_Caption_MRU));
    fillFromList(m_soundListButton, m_soundField);
    fillFromList(m_programListButton, m_programField);
    fillFromList(m_fileListButton, m_fileField);
    fillFromList(m_folderListButton, m_folderField);
    fillFromList(m_webPageListButton, m_webPageField);
}

void SetupWindow::fillFromList(RecentListButton *button, QWidget *field)
{
    const RecentListContents contents = button->load();
    {
        // Restoring is not an edit: the field's check runs when its kind is shown.
        const QSignalBlocker blocker(field);
        setFieldText(field, restoredFieldText(button->list(), contents));
    }
    connect(button, &RecentListButton::entryChosen, this,
            [field](const QString &entry) { setFieldText(field, entry); });
}

void SetupWindow::setFieldText(QWidget *field, const QString &text)
{
    if (auto *file = qobject_cast<FileNameEdit *>(field))
        file->setText(text);
    else if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->setText(text);
}

} // namespace tockwell
