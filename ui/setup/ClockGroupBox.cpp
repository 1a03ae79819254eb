#include "ClockGroupBox.h"

#include <QEvent>
#include <QPainter>
#include <QStylePainter>

namespace tockwell {
namespace {

constexpr int LabelMargin = 2;

} // namespace

/// Paints the box's title, as the style paints it, and nothing else.
class ClockGroupBox::CaptionText final : public QWidget
{
public:
    explicit CaptionText(ClockGroupBox &box) : QWidget(&box), m_box(box)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        // In the box's coordinates, so that the text lands where the style puts a title.
        painter.translate(-pos());
        const QStyleOptionGroupBox option = m_box.styleOption(QStyle::SC_GroupBoxLabel);
        m_box.style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, &m_box);
    }

private:
    ClockGroupBox &m_box;
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
    m_caption = caption;
    // What a screen reader reads as the box's name, which the title would be.
    setAccessibleName(caption);
    const QRect before = m_text->geometry();
    placeCaption();
    // A caption of the same size only needs its text painted afresh; moving or resizing the
    // child repaints the place it left and the one it took.
    if (m_text->geometry() == before)
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
    const QStyleOptionGroupBox option = styleOption(QStyle::SC_GroupBoxLabel);
    const QRect label =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    // A little wider than the label: a style may draw beyond it, as the shadow of a disabled
    // text.
    m_text->setGeometry(label.adjusted(-LabelMargin, -LabelMargin, LabelMargin, LabelMargin));
}

void ClockGroupBox::paintEvent(QPaintEvent *)
{
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

void ClockGroupBox::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeCaption();
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        m_text->update();
}

} // namespace tockwell
