#include "KeyPanel.h"

#include "engine/ErrorBox.h"
#include "engine/KeyCombination.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "ui/setup/AlarmDraft.h"
#include "ui/setup/OtherActionTexts.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/WideListComboBox.h"

#include <QLabel>

namespace tockwell {

using namespace controls;

KeyPanel::KeyPanel(platform::Dialogs &dialogs, QWidget *parent)
    : SubActionPanel("p_Inne_Klawisz", parent)
{
    // The longest caption of the window may take two lines; its box stands below them.
    m_label = label(this, "Label14", QRect(4, 2, 222, 30),
                    u"Jaki klawisz (lub kombinację) mam zasymulować:"_qs);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_keyBox = combo(this, "cb_Klawisze", QRect(4, 34, 222, 22), true);
    nameAfter(m_label, m_keyBox);
    // Filled after its check is connected: the empty box's hint says from the start why Start
    // would be off.
    connectGuarded(dialogs, m_keyBox, &QComboBox::editTextChanged, this, &KeyPanel::check);
    for (const QStringView key : KeyTexts)
        m_keyBox->addItem(key.toString());
    m_keyBox->setCurrentIndex(-1);
}

void KeyPanel::restore(Store &inne, QStringView)
{
    if (const auto key = inne.readString(keys::Klawisz)) {
        const QSignalBlocker blocker(m_keyBox);
        m_keyBox->setEditText(*key);
    }
    check();
}

void KeyPanel::showDraft(const AlarmDraft &draft)
{
    m_keyBox->setEditText(draft.keyText);
}

void KeyPanel::readInto(AlarmDraft &draft) const
{
    draft.keyText = m_keyBox->currentText();
}

void KeyPanel::setLocked(bool locked)
{
    m_label->setEnabled(!locked);
    m_keyBox->setEnabled(!locked);
}

void KeyPanel::check()
{
    const QString text = m_keyBox->currentText();
    m_keyBox->setToolTip(keyTextFault(text)); // why Start is off; no hint while it is on
    const bool valid = AlarmDraft::isKeyValid(text);
    emit readinessChanged(valid, valid);
}

} // namespace tockwell
