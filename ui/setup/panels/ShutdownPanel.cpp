#include "ShutdownPanel.h"

#include "core/ArmedAlarm.h"
#include "engine/ErrorBox.h"
#include "settings/LastSettings.h"
#include "ui/setup/AlarmDraft.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/ShownTexts.h"
#include "ui/setup/WideListComboBox.h"

#include <QLabel>

namespace tockwell {

using namespace controls;

ShutdownPanel::ShutdownPanel(platform::Dialogs &dialogs, QWidget *parent)
    : ActionPanel("p_Zamknij", parent)
{
    m_label = label(this, "Label7", QRect(4, 0, 222, 16), u"Wybierz odpowiednią opcję:"_qs);
    m_choiceBox = combo(this, "cb_ZamknijSystem", QRect(4, 16, 222, 22), true);
    m_choiceBox->addItems(listed(shutdowns::All));
    m_choiceBox->setCurrentIndex(-1);
    nameAfter(m_label, m_choiceBox);
    connectGuarded(dialogs, m_choiceBox, &QComboBox::editTextChanged, this, &ShutdownPanel::check);
}

void ShutdownPanel::restore(const LastSettings &last)
{
    m_choiceBox->setEditText(shownText(last.reboot));
}

void ShutdownPanel::check()
{
    emit readinessChanged(AlarmDraft::isShutdownValid(storedText(m_choiceBox->currentText())),
                          false);
}

void ShutdownPanel::showDraft(const AlarmDraft &draft)
{
    m_choiceBox->setEditText(draft.shutdownShown);
}

void ShutdownPanel::readInto(AlarmDraft &draft) const
{
    draft.shutdownShown = m_choiceBox->currentText();
}

void ShutdownPanel::setLocked(bool locked)
{
    m_label->setEnabled(!locked);
    m_choiceBox->setEnabled(!locked);
}

QWidget *ShutdownPanel::firstField() const
{
    return m_choiceBox;
}

} // namespace tockwell
