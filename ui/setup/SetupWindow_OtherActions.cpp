// The editor of "Inne możliwości": the sub-action with its help link, the key, the click point
// with its picker, and the CD drive with its operation.
#include "OtherActionTexts.h"
#include "SetupWindow.h"
#include "core/ArmedAlarm.h"
#include "core/HelpPages.h"
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
namespace {

bool isSubAction(const QString &text)
{
    return std::find(others::Listed.begin(), others::Listed.end(), text) != others::Listed.end();
}

} // namespace

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
    if (!isSubAction(subAction)) {
        setActionButtons(false);
        endPointPicking();
        return;
    }
    setActionButtons(true);
    m_otherHelp = otherActionHelp(subAction);
    QWidget *subPanel = nullptr;
    if (subAction == others::PressKey) {
        restoreOtherString(keys::Klawisz, cb_Klawisze);
        subPanel = p_Inne_Klawisz;
    } else if (subAction == others::DoubleClick || subAction == others::SingleClick) {
        const bool twice = subAction == others::DoubleClick;
        restoreOtherPoint(twice ? keys::x_DoubleClick : keys::x_SingleClick,
                          twice ? keys::y_DoubleClick : keys::y_SingleClick);
        subPanel = p_Inne_Klikniecie1;
    } else if (subAction == others::CdTray) {
        FillCdDriveList();
        restoreOtherString(keys::Dysk_CD, cb_Inne_DyskCD);
        restoreOtherString(keys::Dysk_CD_Ws_Wy, cd_Inne_DyskCD_WsWy);
        subPanel = p_Inne_DyskCD;
    }
    if (subPanel) {
        subPanel->show();
        m_otherHelp.clear();
    }
    if (subPanel == p_Inne_Klawisz)
        cb_KlawiszeChange(); // the restored key is checked as a typed one
    if (subPanel != p_Inne_Klikniecie1)
        endPointPicking();
    amh_Help->setVisible(!m_otherHelp.isEmpty());
}

void SetupWindow::restoreOtherString(QStringView name, QComboBox *box)
{
    Store store(m_storeFile);
    store.openKey(keys::under(keys::Inne_MRU));
    if (const auto text = store.readString(name.toString())) {
        const QSignalBlocker blocker(box); // restoring is not an edit: the checks do not run
        box->setEditText(*text);
    }
}

void SetupWindow::restoreOtherPoint(QStringView xName, QStringView yName)
{
    Store store(m_storeFile);
    store.openKey(keys::under(keys::Inne_MRU));
    se_Inne_X_DC->setValue(store.readInteger(xName.toString()).value_or(0));
    se_Inne_Y_DC->setValue(store.readInteger(yName.toString()).value_or(0));
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
    setActionButtons(cb_Inne_DyskCD->currentText().size() == 1);
}

void SetupWindow::cb_KlawiszeChange()
{
    setActionButtons(keyCombination(cb_Klawisze->currentText()).has_value());
}

void SetupWindow::cd_Inne_DyskCD_WsWyChange()
{
    const QString operation = cd_Inne_DyskCD_WsWy->currentText();
    setActionButtons(operation == u"Wsuń"_qs || operation == u"Wysuń"_qs);
}

} // namespace tockwell
