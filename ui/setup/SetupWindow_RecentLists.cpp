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
    for (const QStringView kind : {kinds::PlaySound, kinds::RunProgram, kinds::OpenFile,
                                   kinds::OpenFolder, kinds::OpenWebPage})
        panelOf(kind)->restore(last);
}

} // namespace tockwell
