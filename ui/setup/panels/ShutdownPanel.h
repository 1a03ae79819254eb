#pragma once

#include "ActionPanel.h"

class QComboBox;
class QLabel;

namespace tockwell {

namespace platform {
class Dialogs;
}

/// "Zamknij system": which way the system is shut down.
class ShutdownPanel final : public ActionPanel
{
    Q_OBJECT

public:
    ShutdownPanel(platform::Dialogs &dialogs, QWidget *parent);

    /// Shows the last-armed choice; setting it runs its check, as an edit does.
    void restore(const LastSettings &last) override;
    void check() override;
    void readInto(AlarmDraft &draft) const override;
    void showDraft(const AlarmDraft &draft) override;
    void setLocked(bool locked) override;
    QWidget *firstField() const override;

private:
    QLabel *m_label;
    QComboBox *m_choiceBox;
};

} // namespace tockwell
