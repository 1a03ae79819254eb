#pragma once

#include "ActionPanel.h"

class QLabel;

namespace tockwell {

class StoreFile;
class WideListComboBox;
namespace platform {
class Dialogs;
}

/// "Komunikat": the message's text and its title bar's caption, each an editable box of its
/// recent list.
class MessagePanel final : public ActionPanel
{
    Q_OBJECT

public:
    MessagePanel(StoreFile &storeFile, platform::Dialogs &dialogs, QWidget *parent);

    void restore(const LastSettings &last) override;
    void check() override;
    void readInto(AlarmDraft &draft) const override;
    void showDraft(const AlarmDraft &draft) override;
    void setLocked(bool locked) override;
    QWidget *firstField() const override;

private:
    StoreFile &m_storeFile;
    QLabel *m_messageLabel, *m_captionLabel;
    WideListComboBox *m_messageBox, *m_captionBox;
};

} // namespace tockwell
