#include "ClockGroupBox.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStylePainter>

namespace tockwell {
namespace {

constexpr int LabelMargin = 2;

} // namespace

/// Paints the box's title, as the style paints it, over a copy of what lies beneath it: once that
/// copy is made the child is opaque, so that a new caption paints neither the box's frame nor the
/// window's skin beneath it again. Whatever may change beneath drops the copy; the next caption
/// makes it again, and until then the parents paint beneath as for any child.
class ClockGroupBox::CaptionText final : public QWidget
{
public:
    explicit CaptionText(ClockGroupBox &box) : QWidget(&box), m_box(box)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    /// Copies what lies beneath the caption, unless that copy is there.
    void copyBeneath()
    {
        if (!m_beneath.isNull())
            return;
        QWidget *const top = window();
        m_copying = true;
        m_beneath = top->grab(QRect(mapTo(top, QPoint()), size()));
        m_copying = false;
        setAttribute(Qt::WA_OpaquePaintEvent, !m_beneath.isNull());
    }

    /// Drops the copy of what lies beneath, which may have changed.
    void dropBeneath()
    {
        m_beneath = QPixmap();
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_copying)
            return;
        QPainter painter(this);
        if (!m_beneath.isNull())
            painter.drawPixmap(0, 0, m_beneath);
        // In the box's coordinates, so that the text lands where the style puts a title.
        painter.translate(-pos());
        const QStyleOptionGroupBox option = m_box.styleOption(QStyle::SC_GroupBoxLabel);
        m_box.style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, &m_box);
    }

    void moveEvent(QMoveEvent *) override { dropBeneath(); }
    void resizeEvent(QResizeEvent *) override { dropBeneath(); }

private:
    ClockGroupBox &m_box;
    QPixmap m_beneath;
    bool m_copying = false;
};

ClockGroupBox::ClockGroupBox(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent), m_caption(caption), m_text(new CaptionText(*this))
{
    setAccessibleName(caption);
    placeCaption();
}

void ClockGroupBox::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    const bool placeChanges = caption.isEmpty() != m_caption.isEmpty();
    m_caption = caption;
    // What a screen reader reads as the box's name, which the title would be.
    setAccessibleName(caption);
    if (placeChanges) {
        // A title or none: the style may place the frame by the box's own title.
        setTitle(caption);
        placeCaption();
        return;
    }
    // The caption's place does not depend on its text: only the text is painted afresh. Before
    // the window is first shown its first paint paints everything: nothing to copy yet.
    if (isVisible())
        m_text->copyBeneath();
    m_text->update();
}

QStyleOptionGroupBox ClockGroupBox::styleOption(QStyle::SubControls parts) const
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.text = m_caption;
    option.subControls = parts;
    return option;
}

void ClockGroupBox::placeCaption()
{
    const QStyleOptionGroupBox option =
        styleOption(QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame);
    const QRect label =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    m_frame = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, this);
    // The box's whole width, so that a caption of any length fits, and a little above and below
    // the label, since a style may draw beyond it (the shadow of a disabled text). Where the
    // frame begins below the label, the place ends above the frame, so that painting the
    // caption does not paint the frame.
    QRect place(0, label.top() - LabelMargin, width(), label.height() + 2 * LabelMargin);
    if (label.bottom() < m_frame.top() && place.bottom() >= m_frame.top())
        place.setBottom(m_frame.top() - 1);
    m_text->setGeometry(place);
}

void ClockGroupBox::paintEvent(QPaintEvent *event)
{
    // Beneath the caption alone there is nothing of the box to paint.
    if (!event->region().intersects(m_frame))
        return;
    // Everything but the caption, which its child paints.
    QStylePainter painter(this);
    QStyleOptionGroupBox option = styleOption(QStyle::SC_GroupBoxFrame);
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

void ClockGroupBox::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    placeCaption();
}

void ClockGroupBox::moveEvent(QMoveEvent *event)
{
    QGroupBox::moveEvent(event);
    m_text->dropBeneath();
}

void ClockGroupBox::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    // Anything that may paint the box or the window beneath the caption otherwise.
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::ActivationChange:
        m_text->dropBeneath();
        break;
    default:
        break;
    }
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeCaption();
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        m_text->update();
}

} // namespace tockwell
