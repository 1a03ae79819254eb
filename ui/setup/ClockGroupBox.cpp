#include "ClockGroupBox.h"

#include "CaptionGlyphs.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStylePainter>

#include <utility>

namespace tockwell {
namespace {

constexpr int LabelMargin = 2;

} // namespace

/// Paints the box's title, as the style paints it, over a copy of what lies beneath it: once that
/// copy is made the child is opaque, so that a new caption paints neither the box's frame nor the
/// window's skin beneath it again. On that copy it lays the caption's glyphs out once
/// (CaptionGlyphs): a caption whose digits alone change is drawn from them, and only the changed
/// digits' places are painted and shown. Whatever may change beneath drops the copy and the
/// glyphs; the next caption makes them again, and until then the parents paint beneath as for
/// any child.
class ClockGroupBox::CaptionText final : public QWidget
{
public:
    explicit CaptionText(ClockGroupBox &box) : QWidget(&box), m_box(box)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    /// Where the style writes the title, in this child.
    void setLabel(const QRect &label)
    {
        m_label = label;
        dropBeneath();
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

    /// Drops the copy of what lies beneath, which may have changed, and the glyphs laid on it.
    void dropBeneath()
    {
        m_beneath = QPixmap();
        m_glyphs.clear();
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

    /// Repaints what differs between the captions `before` and `after`.
    void showChange(const QString &before, const QString &after)
    {
        // Painted at once: a posted update would wake the event loop a second time.
        if (m_glyphs.holds(before) && m_glyphs.holds(after))
            repaint(m_glyphs.changes(before, after));
        else
            update();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        if (m_copying)
            return;
        const QString text = m_box.caption();
        const auto paintText = [this](QPainter &painter, const QString &caption) {
            paintCaption(painter, caption);
        };
        if (!m_beneath.isNull() && !m_glyphs.triedFor(text))
            m_glyphs.build(text, font(), m_label.topLeft(), textPen(), m_beneath, paintText);
        QPainter painter(this);
        if (m_glyphs.holds(text))
            m_glyphs.paint(painter, text, event->rect());
        else
            paintCaption(painter, text);
    }

    // A hidden window keeps no copy; the first caption after the show makes it again.
    void hideEvent(QHideEvent *) override { dropBeneath(); }
    void moveEvent(QMoveEvent *) override { dropBeneath(); }
    void resizeEvent(QResizeEvent *) override { dropBeneath(); }

private:
    /// The pen with which the style writes the title.
    QPen textPen() const
    {
        return QPen(m_box.styleOption(QStyle::SC_GroupBoxLabel).palette.windowText(), 1);
    }

    /// Paints `caption` as the style paints the box's title, over the copy of what lies beneath.
    void paintCaption(QPainter &painter, const QString &caption) const
    {
        if (!m_beneath.isNull())
            painter.drawPixmap(0, 0, m_beneath);
        // A painter on a picture begins with the application's font, not this one's.
        painter.setFont(font());
        // In the box's coordinates, so that the text lands where the style puts a title.
        painter.translate(-pos());
        QStyleOptionGroupBox option = m_box.styleOption(QStyle::SC_GroupBoxLabel);
        option.text = caption;
        m_box.style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, &m_box);
    }

    ClockGroupBox &m_box;
    QPixmap m_beneath;
    CaptionGlyphs m_glyphs;
    QRect m_label;
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
    const QString before = std::exchange(m_caption, caption);
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
    m_text->showChange(before, caption);
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
    m_text->setLabel(label.translated(-place.topLeft()));
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
