#pragma once

#include "SubActionPanel.h"

class QComboBox;
class QLabel;

namespace tockwell {

namespace platform {
class Platform;
}

/// The CD drive whose tray the sub-action opens or closes, and which of the two.
class CdTrayPanel final : public SubActionPanel
{
    Q_OBJECT

public:
    CdTrayPanel(platform::Platform &platform, QWidget *parent);

    /// Lists the machine's drives afresh, then restores the stored drive and operation.
    void restore(Store &inne, QStringView subAction) override;
    void readInto(AlarmDraft &draft) const override;
    void showDraft(const AlarmDraft &draft) override;
    void setLocked(bool locked) override;
    /// The operation box stands under its word "Operacja:".
    void fitCaptions() override;

private:
    void listDrives();
    void checkDrive();
    void checkOperation();

    platform::Platform &m_platform;
    QLabel *m_label, *m_caption;
    QComboBox *m_driveBox, *m_operationBox;
};

} // namespace tockwell
