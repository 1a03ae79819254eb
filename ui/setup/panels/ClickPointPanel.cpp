#include "ClickPointPanel.h"

#include "core/ArmedAlarm.h"
#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "ui/setup/AlarmDraft.h"
#include "ui/setup/SetupControls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

namespace tockwell {

using namespace controls;

ClickPointPanel::ClickPointPanel(platform::Platform &platform, QWidget *parent)
    : SubActionPanel("p_Inne_Klikniecie1", parent), m_platform(platform)
{
    m_label = label(this, "Label16", QRect(4, 2, 222, 16),
                    u"Podaj współrzędne (określ punkt kliknięcia):"_qs);
    m_caption = label(this, "Label17", QRect(4, 22, 150, 22), u"x =                     y = "_qs);
    m_x = spin<QSpinBox>(this, "se_Inne_X_DC", QRect(24, 22, 56, 22), 0);
    m_y = spin<QSpinBox>(this, "se_Inne_Y_DC", QRect(112, 22, 56, 22), 0);
    m_pickButton = make<QToolButton>(this, "SpeedButton1", QRect(4, 48, 100, 22));
    m_pickButton->setText(u"Określ punkt"_qs);
    m_x->setAccessibleName(u"Punkt kliknięcia: x"_qs);
    m_y->setAccessibleName(u"Punkt kliknięcia: y"_qs);
    // The coordinates change only by their arrows, the picker and the stored point.
    for (QSpinBox *field : {m_x, m_y}) {
        field->findChild<QLineEdit *>()->setReadOnly(true);
        field->findChild<QLineEdit *>()->setMaxLength(10);
        field->installEventFilter(this);
        field->findChild<QLineEdit *>()->installEventFilter(this);
    }
    m_pointerTimer.setInterval(10);
    platform::Dialogs &dialogs = platform.dialogs();
    connectGuarded(dialogs, m_pickButton, &QToolButton::clicked, this,
                   &ClickPointPanel::startPicking);
    connectGuarded(dialogs, &m_pointerTimer, &QTimer::timeout, this,
                   &ClickPointPanel::followPointer);
}

void ClickPointPanel::takeScreenBounds()
{
    const QSize screenSize = m_platform.input().screenSize();
    m_x->setRange(0, screenSize.width());
    m_y->setRange(0, screenSize.height());
}

void ClickPointPanel::restore(Store &inne, QStringView subAction)
{
    const bool doubleClick = subAction == others::DoubleClick;
    const QStringView x = doubleClick ? keys::x_DoubleClick : keys::x_SingleClick;
    const QStringView y = doubleClick ? keys::y_DoubleClick : keys::y_SingleClick;
    m_x->setValue(inne.readInteger(x.toString()).value_or(0));
    m_y->setValue(inne.readInteger(y.toString()).value_or(0));
}

void ClickPointPanel::showDraft(const AlarmDraft &draft)
{
    m_x->setValue(draft.clickPoint.x());
    m_y->setValue(draft.clickPoint.y());
}

void ClickPointPanel::readInto(AlarmDraft &draft) const
{
    draft.clickPoint = QPoint(m_x->value(), m_y->value());
}

void ClickPointPanel::setLocked(bool locked)
{
    for (QWidget *control :
         std::initializer_list<QWidget *>{m_label, m_x, m_y, m_caption, m_pickButton})
        control->setEnabled(!locked);
}

void ClickPointPanel::fitCaptions()
{
    placeInGap(m_caption, m_caption->text(), u"x ="_qs, m_x);
    const int yLeft =
        textLeft(m_caption) + m_caption->fontMetrics().horizontalAdvance(m_caption->text());
    m_y->move(yLeft, m_y->y());
}

void ClickPointPanel::endPicking()
{
    m_pointerTimer.stop();
}

bool ClickPointPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == m_x || watched == m_y || watched->parent() == m_x ||
         watched->parent() == m_y)) {
        bool handled = false;
        guarded(m_platform.dialogs(),
                [&] { handled = pointKeyPressed(*static_cast<QKeyEvent *>(event)); });
        return handled;
    }
    return SubActionPanel::eventFilter(watched, event);
}

void ClickPointPanel::startPicking()
{
    using namespace platform::mb;
    m_platform.dialogs().messageBox(
        u"UŻYTKOWNIKU PROGRAMU WPROWADZASZ TERAZ WSPÓŁRZĘDNĄ W KTÓRĄ MAM ZASYMULOWAĆ KLIKNIĘCIE "
        "!!!\r\rAby to zrobić najedź na wybrany punkt (miejsce kliknięcia) i naciśnij klawisz "
        "ENTER pozostawiając kursor myszy bez zmian."_qs,
        u"UWAGA !!!"_qs, Ok | IconInformation);
    m_pointerTimer.start();
}

void ClickPointPanel::followPointer()
{
    // The fields are gone from view (another sub-action or kind, the window hidden): picking
    // has no target any more.
    if (!m_x->isVisible()) {
        endPicking();
        return;
    }
    const QPoint pointer = m_platform.input().cursorPos();
    m_x->setValue(pointer.x());
    m_y->setValue(pointer.y());
    m_x->setFocus();
}

bool ClickPointPanel::pointKeyPressed(const QKeyEvent &key)
{
    if (key.key() == Qt::Key_F1) {
        emit helpRequested();
        return true;
    }
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    endPicking();
    m_platform.dialogs().messageBox(
        u"Wprowadzono punkt o współrzędnych x = "_qs + QString::number(m_x->value()) +
            u"  y = "_qs + QString::number(m_y->value()),
        u"INFORMACJA"_qs, platform::mb::Ok | platform::mb::IconInformation);
    return true;
}

} // namespace tockwell
