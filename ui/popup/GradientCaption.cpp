#include "GradientCaption.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cstdlib>

namespace tockwell {

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const qint64 product = qint64(a) * b;
    const qint64 magnitude = (std::llabs(product) * 2 + std::llabs(c)) / (2 * std::llabs(c));
    return int((product < 0) != (c < 0) ? -magnitude : magnitude);
}

GradientColor GradientColor::system(QPalette::ColorRole role)
{
    GradientColor colour;
    colour.m_role = role;
    return colour;
}

QColor GradientColor::resolved(const QPalette &palette) const
{
    return m_role ? palette.color(QPalette::Active, *m_role) : m_rgb;
}

std::vector<GradientCaption::Band> GradientCaption::bands(int width, int count, QRgb start,
                                                          QRgb end)
{
    std::vector<Band> result;
    result.reserve(count);
    const int r0 = qRed(start), g0 = qGreen(start), b0 = qBlue(start);
    const int dR = qRed(end) - r0, dG = qGreen(end) - g0, dB = qBlue(end) - b0;
    for (int i = 0; i < count; ++i) {
        QRgb colour = start;
        if (count >= 2) {
            colour =
                qRgb(quint8(r0 + mulDiv(i, dR, count - 1)), quint8(g0 + mulDiv(i, dG, count - 1)),
                     quint8(b0 + mulDiv(i, dB, count - 1)));
        }
        result.push_back({mulDiv(i, width, count), mulDiv(i + 1, width, count), colour});
    }
    return result;
}

GradientCaption::GradientCaption(QWidget *parent) : QWidget(parent)
{
    m_font.setBold(true);
    resize(400, 25);
}

void GradientCaption::setBeginColor(const GradientColor &colour)
{
    m_beginColor = colour;
    drawNow();
    update();
}

void GradientCaption::setEndColor(const GradientColor &colour)
{
    m_endColor = colour;
    drawNow();
    update();
}

void GradientCaption::setFillDirection(FillDirection direction)
{
    if (direction == m_fillDirection)
        return;
    m_fillDirection = direction;
    drawNow();
    update();
}

void GradientCaption::setNumberOfColors(int count)
{
    m_numberOfColors = std::clamp(count, 1, 255);
    update();
}

void GradientCaption::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    update();
}

void GradientCaption::setCaptionFont(const QFont &font)
{
    if (&font == &m_font)
        return;
    m_font = font;
    drawNow();
}

void GradientCaption::setCaption(const QString &caption)
{
    m_caption = caption;
    drawNow();
}

void GradientCaption::setTextTop(int top)
{
    m_textTop = top;
    drawNow();
}

void GradientCaption::setTextLeft(int left)
{
    m_textLeft = left;
    drawNow();
}

QPixmap GradientCaption::render() const
{
    const QPalette colours = palette();
    QColor start = m_beginColor.resolved(colours);
    QColor end = m_endColor.resolved(colours);
    if (m_fillDirection == FillDirection::RightToLeft)
        std::swap(start, end);

    QPixmap buffer(size());
    QPainter painter(&buffer);
    painter.setPen(Qt::NoPen);
    for (const Band &band : bands(width(), m_numberOfColors, start.rgb(), end.rgb()))
        painter.fillRect(QRect(band.x0, 0, band.x1 - band.x0, height()), QColor(band.colour));
    painter.setFont(m_font);
    painter.setPen(colours.color(QPalette::WindowText));
    const QFontMetrics metrics(m_font);
    painter.drawText(QPoint(m_textLeft, m_textTop + metrics.ascent()), m_caption);
    return buffer;
}

void GradientCaption::paintEvent(QPaintEvent *)
{
    // The whole bar is drawn off-screen first and copied in one go: never half-drawn.
    QPainter(this).drawPixmap(0, 0, render());
}

} // namespace tockwell
