#include "MessagePanel.h"

#include "engine/ErrorBox.h"
#include "engine/PolishOrder.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "ui/setup/AlarmDraft.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/WideListComboBox.h"

#include <QLabel>

#include <algorithm>

namespace tockwell {

using namespace controls;

namespace {

/// Fills a message box's items with all names of its list, sorted, and its text with the
/// current entry.
void fillFromList(QComboBox *box, const RecentListContents &contents)
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

MessagePanel::MessagePanel(StoreFile &storeFile, platform::Dialogs &dialogs, QWidget *parent)
    : ActionPanel("p_k_komunikat", parent), m_storeFile(storeFile)
{
    m_messageLabel = label(this, "Label4", QRect(4, 0, 222, 16), u"Podaj treść komunikatu:"_qs);
    m_messageBox = combo(this, "cb_Komunikat", QRect(4, 16, 222, 22), true);
    m_captionLabel = label(this, "Label5", QRect(4, 46, 222, 16), u"Napis na pasku tytułowym:"_qs);
    m_captionBox = combo(this, "cb_Caption", QRect(4, 62, 222, 22), true);
    // The dropped lists show whole remembered texts.
    m_messageBox->fitListToItems(24);
    m_captionBox->fitListToItems(24);
    nameAfter(m_messageLabel, m_messageBox);
    nameAfter(m_captionLabel, m_captionBox);
    for (QComboBox *box : {m_messageBox, m_captionBox})
        connectGuarded(dialogs, box, &QComboBox::editTextChanged, this, &MessagePanel::check);
}

void MessagePanel::restore(const LastSettings &)
{
    fillFromList(m_messageBox, readRecentList(m_storeFile, keys::Kom_Text_MRU));
    fillFromList(m_captionBox, readRecentList(m_storeFile, keys::Kom_Caption_MRU));
}

void MessagePanel::check()
{
    const bool valid =
        AlarmDraft::isMessageValid(m_messageBox->currentText(), m_captionBox->currentText());
    emit readinessChanged(valid, valid);
}

void MessagePanel::showDraft(const AlarmDraft &draft)
{
    m_messageBox->setEditText(draft.message);
    m_captionBox->setEditText(draft.caption);
}

void MessagePanel::readInto(AlarmDraft &draft) const
{
    draft.message = m_messageBox->currentText();
    draft.caption = m_captionBox->currentText();
}

void MessagePanel::setLocked(bool locked)
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_messageLabel, m_messageBox,
                                                             m_captionLabel, m_captionBox})
        control->setEnabled(!locked);
}

QWidget *MessagePanel::firstField() const
{
    return m_messageBox;
}

} // namespace tockwell
