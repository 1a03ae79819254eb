#pragma once

#include "SubActionPanel.h"

class QComboBox;
class QLabel;

namespace tockwell {

namespace platform {
class Dialogs;
}

/// The key or combination that the key-press sub-action presses: one of the list or typed.
class KeyPanel final : public SubActionPanel
{
    Q_OBJECT

public:
    KeyPanel(platform::Dialogs &dialogs, QWidget *parent);

    /// Restores the stored key, then checks it as a typed one.
    void restore(Store &inne, QStringView subAction) override;
    void readInto(AlarmDraft &draft) const override;
    void showDraft(const AlarmDraft &draft) override;
    void setLocked(bool locked) override;

private:
    /// Start and Preview go with a key that can be pressed; the box's hint says why not.
    void check();

    QLabel *m_label;
    QComboBox *m_keyBox;
};

} // namespace tockwell
