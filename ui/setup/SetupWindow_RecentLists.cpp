// The recent-entries lists in the window: the current entries restored into their fields.
#include "FileNameEdit.h"
#include "RecentListButton.h"
#include "SetupWindow.h"
#include "TimingGroup.h"
#include "core/ArmedAlarm.h"
#include "panels/ActionPanel.h"
#include "settings/RecentList.h"

namespace tockwell {

void SetupWindow::loadRecentLists(const LastSettings &last)
{
    m_timing->restore(last);
    panelOf(kinds::Message)->restore(last);
    {
        const RecentListContents contents = m_soundListButton->load();
        // Restoring is not an edit: the field's check runs when its kind is shown.
        const QSignalBlocker blocker(m_soundField);
        m_soundField->setText(restoredFieldText(m_soundListButton->list(), contents));
    }
    connect(m_soundListButton, &RecentListButton::entryChosen, m_soundField,
            &FileNameEdit::setText);
    for (const QStringView kind :
         {kinds::RunProgram, kinds::OpenFile, kinds::OpenFolder, kinds::OpenWebPage})
        panelOf(kind)->restore(last);
}

} // namespace tockwell
