#include "WideListComboBox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLineEdit>

#include <algorithm>

namespace tockwell {

void WideListComboBox::makeEditable()
{
    // setEditable() makes the list view at once (to set its scroll bars for a box that was a
    // pop-up list); a line edit alone leaves the view to be made, for an editable box, when the
    // list first drops down.
    if (!isEditable())
        setLineEdit(new QLineEdit(this));
}

int WideListComboBox::listWidth() const
{
    if (m_itemMargin == OwnWidth)
        return 0;
    int widest = width();
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)) + m_itemMargin);
    return widest;
}

void WideListComboBox::changeEvent(QEvent *event)
{
    // QComboBox makes its list at a font change, to give it the font. Before the box is first
    // shown there is no list to give it to (a list made later takes the box's font), and the
    // box's size hint, which QComboBox also drops here, is worked out afresh at the first show.
    if (event->type() == QEvent::FontChange && !m_shownOnce) {
        QWidget::changeEvent(event);
        return;
    }
    QComboBox::changeEvent(event);
}

void WideListComboBox::showEvent(QShowEvent *event)
{
    m_shownOnce = true;
    QComboBox::showEvent(event);
}

void WideListComboBox::showPopup()
{
    if (m_itemMargin != OwnWidth)
        view()->setMinimumWidth(listWidth());
    QComboBox::showPopup();
}

} // namespace tockwell
