// The editor of "Inne możliwości": the sub-action with its help link, the key, the click point
// with its picker, and the CD drive with its operation.
#include "AlarmDraft.h"
#include "OtherActionTexts.h"
#include "SetupWindow.h"
#include "engine/ArmedAlarm.h"
#include "engine/HelpPages.h"
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
        cb_Klawisze->addItem(key.toString());
    cb_Klawisze->setCurrentIndex(-1);
    amh_Help->setText(u"<a href=\"#\">Pomoc ?</a>"_qs);
    amh_Help->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(amh_Help, &QLabel::linkActivated, this,
            [this] { handle([this] { amh_HelpClick(); }); });
    // The coordinates change only by their arrows, the picker and the stored point.
    for (QSpinBox *field : {se_Inne_X_DC, se_Inne_Y_DC}) {
        field->findChild<QLineEdit *>()->setReadOnly(true);
        field->findChild<QLineEdit *>()->setMaxLength(10);
        field->installEventFilter(this);
        field->findChild<QLineEdit *>()->installEventFilter(this);
    }
    t_PozycjaMyszy.setInterval(10);
    connect(&t_PozycjaMyszy, &QTimer::timeout, this,
            [this] { handle([this] { t_PozycjaMyszyTimer(); }); });
    m_previewInputBack.setSingleShot(true);
    m_previewInputBack.setInterval(PreviewInputSuspensionMs);
    connect(&m_previewInputBack, &QTimer::timeout, this,
            [this] { m_platform.input().resumeInput(); });
    cb_InneOpcjeDropDown();
}

void SetupWindow::cb_InneOpcjeChange()
{
    const QString subAction = chosenSubAction();
    for (QWidget *hidden :
         {p_Inne_Klawisz, p_Inne_DyskCD, p_Inne_Klikniecie1, static_cast<QWidget *>(amh_Help)})
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
            FillCdDriveList();
        restoreSubActionValues(*row);
        control(row->panel)->show();
        m_otherHelp.clear();
        if (!row->checkedField.isEmpty()) // the restored value is checked as a typed one
            (this->*m_fieldChecks.value(row->checkedField.toString()))();
    }
    if (!row || !row->picksPoint)
        endPointPicking();
    amh_Help->setVisible(!m_otherHelp.isEmpty());
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

void SetupWindow::cb_InneOpcjeDropDown()
{
    int widest = cb_InneOpcje->width() - 30;
    for (int i = 0; i < cb_InneOpcje->count(); ++i)
        widest = std::max(widest, fontMetrics().horizontalAdvance(cb_InneOpcje->itemText(i)));
    cb_InneOpcje->view()->setMinimumWidth(widest + 30);
}

void SetupWindow::amh_HelpClick()
{
    const qsizetype bar = m_otherHelp.indexOf(u'|');
    const QString text = bar < 0 ? m_otherHelp : m_otherHelp.left(bar);
    const QString caption = bar < 0 ? QString() : m_otherHelp.mid(bar + 1);
    using namespace platform::mb;
    m_platform.dialogs().messageBox(text, caption, Ok | IconInformation | Topmost);
}

void SetupWindow::SpeedButton1Click()
{
    using namespace platform::mb;
    m_platform.dialogs().messageBox(
        u"UŻYTKOWNIKU PROGRAMU WPROWADZASZ TERAZ WSPÓŁRZĘDNĄ W KTÓRĄ MAM ZASYMULOWAĆ KLIKNIĘCIE "
        "!!!\r\rAby to zrobić najedź na wybrany punkt (miejsce kliknięcia) i naciśnij klawisz "
        "ENTER pozostawiając kursor myszy bez zmian."_qs,
        u"UWAGA !!!"_qs, Ok | IconInformation);
    t_PozycjaMyszy.start();
}

void SetupWindow::t_PozycjaMyszyTimer()
{
    // The fields are gone from view (another sub-action or kind, the window hidden): picking
    // has no target any more.
    if (!se_Inne_X_DC->isVisible()) {
        endPointPicking();
        return;
    }
    const QPoint pointer = m_platform.input().cursorPos();
    se_Inne_X_DC->setValue(pointer.x());
    se_Inne_Y_DC->setValue(pointer.y());
    se_Inne_X_DC->setFocus();
}

void SetupWindow::endPointPicking()
{
    t_PozycjaMyszy.stop();
}

bool SetupWindow::se_Inne_X_DCKeyDown(const QKeyEvent &key)
{
    if (key.key() == Qt::Key_F1) {
        openHelp();
        return true;
    }
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    endPointPicking();
    m_platform.dialogs().messageBox(
        u"Wprowadzono punkt o współrzędnych x = "_qs + QString::number(se_Inne_X_DC->value()) +
            u"  y = "_qs + QString::number(se_Inne_Y_DC->value()),
        u"INFORMACJA"_qs, platform::mb::Ok | platform::mb::IconInformation);
    return true;
}

void SetupWindow::FillCdDriveList()
{
    QStringList drives = m_platform.opticalDrives().drives();
    drives.sort();
    const QSignalBlocker blocker(cb_Inne_DyskCD);
    cb_Inne_DyskCD->clear(); // the items and the text, as a refill does
    cb_Inne_DyskCD->addItems(drives);
    cb_Inne_DyskCD->setCurrentIndex(-1);
}

void SetupWindow::cb_Inne_DyskCDChange()
{
    setActionButtons(AlarmDraft::isCdDriveValid(cb_Inne_DyskCD->currentText()));
}

void SetupWindow::cb_KlawiszeChange()
{
    setActionButtons(AlarmDraft::isKeyValid(cb_Klawisze->currentText()));
}

void SetupWindow::cd_Inne_DyskCD_WsWyChange()
{
    setActionButtons(AlarmDraft::isCdOperationValid(cd_Inne_DyskCD_WsWy->currentText()));
}

} // namespace tockwell
