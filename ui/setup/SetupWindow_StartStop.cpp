// Start arms the alarm from the window's fields; Stop disarms it and gives the window back.
#include "AlarmDraft.h"
#include "FileNameEdit.h"
#include "SetupHost.h"
#include "SetupWindow.h"
#include "TimingGroup.h"
#include "WideListComboBox.h"
#include "core/ArmedAlarm.h"
#include "core/Error.h"
#include "engine/Actions.h"
#include "panels/SoundPanel.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/LastSettings.h"
#include "settings/RecentList.h"
#include "settings/Store.h"
#include "settings/TimeEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include <initializer_list>

namespace tockwell {
AlarmDraft SetupWindow::draft() const
{
    AlarmDraft draft;
    draft.kind = m_kindBox->currentText();
    m_timing->readInto(draft);
    for (const auto &[kind, panel] : m_panels)
        panel->readInto(draft);
    return draft;
}

void SetupWindow::ib_StartClick()
{
    start();
}

void SetupWindow::start()
{
    const AlarmDraft alarm = draft();
    if (const std::optional<QString> refusal = alarm.countdownRefusal()) {
        m_platform.dialogs().messageBox(*refusal, u"BŁĄD !!!"_qs,
                                        platform::mb::Ok | platform::mb::IconError);
        return;
    }
    // An alarm this desktop cannot carry out is still armed (its settings may serve another
    // session), but the user hears why now, and again when it goes off.
    if (alarm.kind == kinds::Other)
        Actions(m_platform, m_host.actionWindows()).tellIfRefused(alarm.subAction());
    m_stopButton->move(m_startButton->pos());
    alarm.storeStart(m_storeFile);
    lockWhileArmed(alarm, true);
    alarm.fill(m_host.alarm());
    m_host.startTick();
    close();
}

void SetupWindow::lockWhileArmed(const AlarmDraft &alarm, bool locked)
{
    m_kindBox->setEnabled(!locked);
    m_timing->setLocked(locked);
    enable(alarm.lockedWhileArmed(), !locked);
    if (!locked) // the repeat rule of the editable window
        allowRepeatFor(alarm.row());
    if (alarm.kind == kinds::PlaySound)
        m_soundPanel->setLocked(locked);
}

void SetupWindow::stopByUser()
{
    m_platform.input().resumeInput();
    ib_StopClick();
}

void SetupWindow::ib_StopClick()
{
    stop();
}

void SetupWindow::stop()
{
    m_host.stopTick();
    lockWhileArmed(draft(), false);
    m_stopButton->move(-40, -40);
}

} // namespace tockwell
