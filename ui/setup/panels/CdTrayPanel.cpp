#include "CdTrayPanel.h"

#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "ui/setup/AlarmDraft.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/WideListComboBox.h"

#include <QLabel>

namespace tockwell {

using namespace controls;

CdTrayPanel::CdTrayPanel(platform::Platform &platform, QWidget *parent)
    : SubActionPanel("p_Inne_DyskCD", parent), m_platform(platform)
{
    m_label = label(this, "Label18", QRect(4, 2, 222, 16),
                    u"Wybierz dysk, którego szufladę mam ws/wy:"_qs);
    m_caption =
        label(this, "Label19", QRect(4, 20, 222, 16), u"Litera dysku:             Operacja:"_qs);
    m_driveBox = combo(this, "cb_Inne_DyskCD", QRect(4, 38, 70, 22), true);
    m_operationBox = combo(this, "cd_Inne_DyskCD_WsWy", QRect(104, 38, 90, 22), true);
    m_operationBox->addItems({u"Wsuń"_qs, u"Wysuń"_qs});
    m_operationBox->setEditText(u"Wysuń"_qs);
    m_driveBox->setAccessibleName(u"Litera dysku"_qs);
    m_operationBox->setAccessibleName(u"Operacja"_qs);
    platform::Dialogs &dialogs = platform.dialogs();
    connectGuarded(dialogs, m_driveBox, &QComboBox::editTextChanged, this,
                   &CdTrayPanel::checkDrive);
    connectGuarded(dialogs, m_operationBox, &QComboBox::editTextChanged, this,
                   &CdTrayPanel::checkOperation);
}

void CdTrayPanel::restore(Store &inne, QStringView)
{
    listDrives();
    for (const auto &[key, box] :
         {std::pair{keys::Dysk_CD, m_driveBox}, std::pair{keys::Dysk_CD_Ws_Wy, m_operationBox}}) {
        if (const auto text = inne.readString(key)) {
            const QSignalBlocker blocker(box);
            box->setEditText(*text);
        }
    }
}

void CdTrayPanel::showDraft(const AlarmDraft &draft)
{
    m_driveBox->setEditText(draft.cdDrive);
    m_operationBox->setEditText(draft.cdOperation);
}

void CdTrayPanel::readInto(AlarmDraft &draft) const
{
    draft.cdDrive = m_driveBox->currentText();
    draft.cdOperation = m_operationBox->currentText();
}

void CdTrayPanel::setLocked(bool locked)
{
    for (QWidget *control :
         std::initializer_list<QWidget *>{m_label, m_caption, m_driveBox, m_operationBox})
        control->setEnabled(!locked);
}

void CdTrayPanel::fitCaptions()
{
    const QString caption = m_caption->text();
    const int operation = textLeft(m_caption) + m_caption->fontMetrics().horizontalAdvance(
                                                    caption.left(caption.indexOf(u"Operacja"_qs)));
    m_operationBox->move(operation, m_operationBox->y());
}

void CdTrayPanel::listDrives()
{
    QStringList drives = m_platform.opticalDrives().drives();
    drives.sort();
    const QSignalBlocker blocker(m_driveBox);
    m_driveBox->clear(); // the items and the text, as a refill does
    m_driveBox->addItems(drives);
    m_driveBox->setCurrentIndex(-1);
}

void CdTrayPanel::checkDrive()
{
    const bool valid = AlarmDraft::isCdDriveValid(m_driveBox->currentText());
    emit readinessChanged(valid, valid);
}

void CdTrayPanel::checkOperation()
{
    const bool valid = AlarmDraft::isCdOperationValid(m_operationBox->currentText());
    emit readinessChanged(valid, valid);
}

} // namespace tockwell
