// The editor of "Inne możliwości": the sub-action with its help link, the key, the click point
// with its picker, and the CD drive with its operation.
#include "AlarmDraft.h"
#include "OtherActionTexts.h"
#include "SetupHost.h"
#include "SetupWindow.h"
#include "WideListComboBox.h"
#include "core/ArmedAlarm.h"
#include "core/HelpPages.h"
#include "engine/Actions.h"
#include "engine/ErrorBox.h"
#include "engine/KeyCombination.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/Store.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>

namespace tockwell {
void SetupWindow::setUpOtherActions()
{
    for (const QStringView key : KeyTexts)
        m_keyBox->addItem(key.toString());
    m_keyBox->setCurrentIndex(-1);
    m_otherHelpLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connectGuarded(m_platform.dialogs(), m_otherHelpLink, &QLabel::linkActivated, this,
                   &SetupWindow::amh_HelpClick);
    // The coordinates change only by their arrows, the picker and the stored point.
    for (QSpinBox *field : {m_pointX, m_pointY}) {
        field->findChild<QLineEdit *>()->setReadOnly(true);
        field->findChild<QLineEdit *>()->setMaxLength(10);
        field->installEventFilter(this);
        field->findChild<QLineEdit *>()->installEventFilter(this);
    }
    m_pointerTimer.setInterval(10);
    connectGuarded(m_platform.dialogs(), &m_pointerTimer, &QTimer::timeout, this,
                   &SetupWindow::followPointer);
    m_previewInputBack = new QTimer(this);
    m_previewInputBack->setObjectName(u"previewInputBack"_qs);
    m_previewInputBack->setSingleShot(true);
    m_previewInputBack->setInterval(PreviewInputSuspensionMs);
    connect(m_previewInputBack, &QTimer::timeout, this,
            [this] { m_platform.input().resumeInput(); });
}

void SetupWindow::cb_InneOpcjeChange()
{
    const QString subAction = chosenSubAction();
    for (QWidget *hidden :
         {m_keyPanel, m_cdPanel, m_clickPanel, static_cast<QWidget *>(m_otherHelpLink)})
        hidden->hide();
    if (!AlarmDraft::isSubActionValid(subAction)) {
        setActionButtons(false);
        endPointPicking();
        return;
    }
    setActionButtons(true);
    m_otherHelp = otherActionHelp(subAction);
    const SubActionRow *row = AlarmDraft::subActionRow(subAction);
    if (row) {
        if (row->listsDrives)
            fillCdDriveList();
        restoreSubActionValues(*row);
        control(row->panel)->show();
        m_otherHelp.clear();
        if (!row->checkedField.isEmpty()) // the restored value is checked as a typed one
            checkField(row->checkedField);
    }
    if (!row || !row->picksPoint)
        endPointPicking();
    if (isVisible()) // chosen by the user, not restored at the start
        tellIfDesktopRefuses(subAction);
    // The link's rich text, and Qt's text document behind it, are made when it is first shown.
    if (!m_otherHelp.isEmpty())
        m_otherHelpLink->setText(u"<a href=\"#\">Pomoc ?</a>"_qs);
    m_otherHelpLink->setVisible(!m_otherHelp.isEmpty());
}

void SetupWindow::tellIfDesktopRefuses(const QString &subAction)
{
    Actions(m_platform, m_host.actionWindows()).tellIfRefused(subAction);
}

void SetupWindow::restoreSubActionValues(const SubActionRow &row)
{
    Store store(m_storeFile);
    store.openKey(keys::under(keys::Inne_MRU));
    for (const StoredValue &stored : row.stored) {
        const QString name = stored.key.toString();
        if (auto *number = findChild<QSpinBox *>(stored.field.toString())) {
            number->setValue(store.readInteger(name).value_or(0));
        } else if (const auto text = store.readString(name)) {
            auto *box = findChild<QComboBox *>(stored.field.toString());
            const QSignalBlocker blocker(box); // restoring is not an edit: the checks do not run
            box->setEditText(*text);
        }
    }
}

void SetupWindow::amh_HelpClick()
{
    const qsizetype bar = m_otherHelp.indexOf(u'|');
    const QString text = bar < 0 ? m_otherHelp : m_otherHelp.left(bar);
    const QString caption = bar < 0 ? QString() : m_otherHelp.mid(bar + 1);
    using namespace platform::mb;
    m_platform.dialogs().messageBox(text, caption, Ok | IconInformation | Topmost);
}

void SetupWindow::startPointPicking()
{
    using namespace platform::mb;
    m_platform.dialogs().messageBox(
        u"UŻYTKOWNIKU PROGRAMU WPROWADZASZ TERAZ WSPÓŁRZĘDNĄ W KTÓRĄ MAM ZASYMULOWAĆ KLIKNIĘCIE "
        "!!!\r\rAby to zrobić najedź na wybrany punkt (miejsce kliknięcia) i naciśnij klawisz "
        "ENTER pozostawiając kursor myszy bez zmian."_qs,
        u"UWAGA !!!"_qs, Ok | IconInformation);
    m_pointerTimer.start();
}

void SetupWindow::followPointer()
{
    // The fields are gone from view (another sub-action or kind, the window hidden): picking
    // has no target any more.
    if (!m_pointX->isVisible()) {
        endPointPicking();
        return;
    }
    const QPoint pointer = m_platform.input().cursorPos();
    m_pointX->setValue(pointer.x());
    m_pointY->setValue(pointer.y());
    m_pointX->setFocus();
}

void SetupWindow::endPointPicking()
{
    m_pointerTimer.stop();
}

bool SetupWindow::pointKeyPressed(const QKeyEvent &key)
{
    if (key.key() == Qt::Key_F1) {
        openHelp();
        return true;
    }
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    endPointPicking();
    m_platform.dialogs().messageBox(
        u"Wprowadzono punkt o współrzędnych x = "_qs + QString::number(m_pointX->value()) +
            u"  y = "_qs + QString::number(m_pointY->value()),
        u"INFORMACJA"_qs, platform::mb::Ok | platform::mb::IconInformation);
    return true;
}

void SetupWindow::fillCdDriveList()
{
    QStringList drives = m_platform.opticalDrives().drives();
    drives.sort();
    const QSignalBlocker blocker(m_cdDriveBox);
    m_cdDriveBox->clear(); // the items and the text, as a refill does
    m_cdDriveBox->addItems(drives);
    m_cdDriveBox->setCurrentIndex(-1);
}

void SetupWindow::cb_Inne_DyskCDChange()
{
    setActionButtons(AlarmDraft::isCdDriveValid(m_cdDriveBox->currentText()));
}

void SetupWindow::cb_KlawiszeChange()
{
    const QString text = m_keyBox->currentText();
    m_keyBox->setToolTip(keyTextFault(text)); // why Start is off; no hint while it is on
    setActionButtons(AlarmDraft::isKeyValid(text));
}

void SetupWindow::cd_Inne_DyskCD_WsWyChange()
{
    setActionButtons(AlarmDraft::isCdOperationValid(m_cdOperationBox->currentText()));
}

} // namespace tockwell
