// The parameter editors: each checks its field on every change and enables Start and Preview
// only while the parameter is valid.
#include "AlarmDraft.h"
#include "FileNameEdit.h"
#include "SetupWindow.h"
#include "ShownTexts.h"
#include "WideListComboBox.h"
#include "core/ArmedAlarm.h"
#include "engine/Actions.h"
#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "settings/RecentList.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace tockwell {

void SetupWindow::showReadiness(bool canStart, bool canPreview)
{
    m_previewButton->setEnabled(canPreview);
    m_startButton->setEnabled(canStart);
}

} // namespace tockwell
