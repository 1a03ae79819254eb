#include "CaptionGlyphs.h"

#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QtMath>

namespace tockwell {
namespace {

/// The nought of the digit `digit`'s script.
QChar zeroOf(QChar digit)
{
    return QChar(char16_t(digit.unicode() - digit.digitValue()));
}

/// `text` with each digit the nought of its script.
QString patternOf(QString text)
{
    for (QChar &c : text)
        if (c.isDigit())
            c = zeroOf(c);
    return text;
}

} // namespace

bool CaptionGlyphs::build(const QString &text, const QFont &font, QPointF origin, const QPen &pen,
                          const QPixmap &beneath, const PaintCaption &paint)
{
    clear();
    m_tried = true;
    m_pattern = patternOf(text);
    m_origin = origin;
    m_pen = pen;
    m_beneath = beneath;
    // At a ratio of a fraction the copy beneath does not fall on whole pixels of the screen.
    const qreal ratio = beneath.devicePixelRatio();
    m_exact =
        !beneath.isNull() && ratio == qRound(ratio) && layOut(text, font) && drawnAlike(paint);
    return m_exact;
}

void CaptionGlyphs::clear()
{
    *this = CaptionGlyphs();
}

bool CaptionGlyphs::triedFor(const QString &text) const
{
    if (!m_tried || text.size() != m_pattern.size())
        return false;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c != m_pattern.at(at) && !(c.isDigit() && zeroOf(c) == m_pattern.at(at)))
            return false;
    }
    return true;
}

QRegion CaptionGlyphs::changes(const QString &before, const QString &after) const
{
    QRegion changed;
    for (qsizetype n = 0; n < m_digitAt.size(); ++n)
        if (before.at(m_digitAt.at(n)) != after.at(m_digitAt.at(n)))
            changed += m_places.at(n);
    return changed;
}

void CaptionGlyphs::paint(QPainter &painter, const QString &text, const QRect &area) const
{
    const qreal ratio = m_beneath.devicePixelRatio();
    painter.drawPixmap(area, m_beneath,
                       QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
    // The glyphs whose ink may reach into the area: those of its digits and their neighbours.
    QList<quint32> glyphs;
    QList<QPointF> positions;
    const QList<QPointF> runPositions = m_run.positions();
    const QList<quint32> runGlyphs = m_run.glyphIndexes();
    for (qsizetype at = 0; at < m_pattern.size(); ++at) {
        const qreal x = m_origin.x() + runPositions.at(at).x();
        if (x + m_reach.right() < area.left() || x + m_reach.left() > area.right() + 1)
            continue;
        const QChar c = text.at(at);
        glyphs.append(c.isDigit() ? m_digits.at(c.unicode() - m_zero.unicode()) : runGlyphs.at(at));
        positions.append(runPositions.at(at));
    }
    QGlyphRun run = m_run;
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.setPen(m_pen);
    painter.drawGlyphRun(m_origin, run);
}

bool CaptionGlyphs::layOut(const QString &text, const QFont &font)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (!text.at(at).isDigit())
            continue;
        if (m_digitAt.isEmpty())
            m_zero = zeroOf(text.at(at));
        if (zeroOf(text.at(at)) != m_zero) // digits of two scripts
            return false;
        m_digitAt.append(at);
    }
    if (m_digitAt.isEmpty())
        return false;

    QTextLayout layout(m_pattern, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    // One font, and a glyph for each character, so that a digit's glyph is found by its place.
    if (runs.size() != 1 || runs.first().glyphIndexes().size() != m_pattern.size())
        return false;
    m_run = runs.first();

    const QRawFont raw = m_run.rawFont();
    QString digits;
    for (int digit = 0; digit < 10; ++digit)
        digits += QChar(char16_t(m_zero.unicode() + digit));
    const QList<quint32> glyphs = raw.glyphIndexesForString(digits);
    if (glyphs.size() != 10)
        return false;
    std::copy(glyphs.cbegin(), glyphs.cend(), m_digits.begin());
    // Digits of one width, and how far any glyph's ink may reach from its origin: its box, in
    // whole pixels around the outline, and a pixel more on each side for the glyphs' smoothing.
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
    if (std::any_of(advances.cbegin(), advances.cend(),
                    [&](QPointF advance) { return advance != advances.first(); }))
        return false;
    QRectF ink;
    for (const quint32 glyph : m_run.glyphIndexes() + glyphs)
        ink |= raw.boundingRect(glyph);
    m_reach = ink.adjusted(-1, 0, 1, 0);
    const int height = qCeil(m_beneath.deviceIndependentSize().height());
    const QList<QPointF> positions = m_run.positions();
    for (const qsizetype at : std::as_const(m_digitAt)) {
        const qreal x = m_origin.x() + positions.at(at).x();
        const int left = qFloor(x + m_reach.left());
        m_places.append(QRect(left, 0, qCeil(x + m_reach.right()) - left, height));
    }
    return true;
}

QString CaptionGlyphs::withDigits(const std::function<int(qsizetype)> &digits) const
{
    QString text = m_pattern;
    for (qsizetype n = 0; n < m_digitAt.size(); ++n)
        text[m_digitAt.at(n)] = QChar(char16_t(m_zero.unicode() + digits(n)));
    return text;
}

bool CaptionGlyphs::drawnAlike(const PaintCaption &paint) const
{
    // The noughts, then each digit in turn counting up and down: every digit, in two places at
    // least, beside other digits.
    QList<QString> captions = {m_pattern};
    for (int first = 0; first < 10; first += int(m_digitAt.size())) {
        captions.append(withDigits([first](qsizetype n) { return int(first + n) % 10; }));
        captions.append(withDigits([first](qsizetype n) { return int(19 - first - n) % 10; }));
    }
    const QRect whole(QPoint(), m_beneath.deviceIndependentSize().toSize());
    return std::all_of(captions.cbegin(), captions.cend(), [&](const QString &caption) {
        return drawn([&](QPainter &painter) { paint(painter, caption); }) ==
               drawn([&](QPainter &painter) { this->paint(painter, caption, whole); });
    });
}

QImage CaptionGlyphs::drawn(const std::function<void(QPainter &)> &paint) const
{
    QPixmap picture(m_beneath.size());
    picture.setDevicePixelRatio(m_beneath.devicePixelRatio());
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        paint(painter);
    }
    return picture.toImage();
}

} // namespace tockwell
