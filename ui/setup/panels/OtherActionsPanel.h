#pragma once

#include "ActionPanel.h"

#include <QString>

class QLabel;

namespace tockwell {

class CdTrayPanel;
class ClickPointPanel;
class KeyPanel;
class SetupHost;
class StoreFile;
class SubActionPanel;
class WideListComboBox;
namespace platform {
class Platform;
}

/// "Inne możliwości": the sub-action, with the fields of those that have parameters (the key,
/// the click point, the CD tray) and the explanation behind "Pomoc ?" for those that need one.
class OtherActionsPanel final : public ActionPanel
{
    Q_OBJECT

public:
    OtherActionsPanel(platform::Platform &platform, StoreFile &storeFile, SetupHost &host,
                      QWidget *parent);

    /// Makes the "Pomoc ?" link in `group`, below the panel and beside Preview. The link stays
    /// where it is when another kind is shown.
    void createHelpLink(QWidget *group);

    /// Takes the click point's bounds from the screen, then shows the last-armed sub-action;
    /// setting it runs its check, as an edit does.
    void restore(const LastSettings &last) override;
    /// Shows the chosen sub-action: its fields with their stored values, or its explanation.
    /// Chosen by the user, a sub-action this desktop cannot carry out is explained.
    void check() override;
    void readInto(AlarmDraft &draft) const override;
    void showDraft(const AlarmDraft &draft) override;
    void setLocked(bool locked) override;
    QWidget *firstField() const override;
    void fitCaptions() override;

signals:
    /// F1 was pressed in a field of the click point.
    void helpRequested();

private:
    /// The chosen sub-action as it is stored (ShownTexts.h).
    QString chosenSubAction() const;
    /// The fields of `subAction`; none for a sub-action without parameters.
    SubActionPanel *panelFor(QStringView subAction) const;
    void explainSubAction();

    platform::Platform &m_platform;
    StoreFile &m_storeFile;
    SetupHost &m_host;
    QLabel *m_label;
    WideListComboBox *m_subActionBox;
    KeyPanel *m_keyPanel;
    ClickPointPanel *m_clickPanel;
    CdTrayPanel *m_cdPanel;
    QLabel *m_helpLink = nullptr;
    QString m_help; ///< the explanation behind "Pomoc ?": text, "|", sub-action
};

} // namespace tockwell
