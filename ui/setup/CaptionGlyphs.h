#pragma once

#include <QGlyphRun>
#include <QList>
#include <QPen>
#include <QPixmap>
#include <QRegion>

#include <array>
#include <functional>

class QFont;
class QPainter;

namespace tockwell {

/// A caption whose digits change, a clock's, drawn from glyphs placed once. The caption is laid
/// out once with every digit a nought, and a new time puts its digits' glyphs in the noughts'
/// places: no text is laid out or measured every second, and only the changed digits' places
/// are painted.
///
/// The glyphs are used only when they draw exactly what the caption's own painting draws, which
/// is checked on captions with every digit, beside other digits, in every place: a font whose
/// digits differ in width, a style that draws its titles otherwise, or a glyph run that Qt draws
/// unlike the text leaves them unused, and the caption is drawn as text.
class CaptionGlyphs
{
public:
    /// Paints the whole caption `text` on `painter`, over what lies beneath it.
    using PaintCaption = std::function<void(QPainter &painter, const QString &text)>;

    /// Lays out captions like `text`: in `font`, from `origin` (the top left corner of its
    /// line), with `pen`, over `beneath`. Returns whether they draw as `paint` does; when not,
    /// they are not used until built for other captions.
    bool build(const QString &text, const QFont &font, QPointF origin, const QPen &pen,
               const QPixmap &beneath, const PaintCaption &paint);
    void clear();

    /// Whether the glyphs were built, well or not, for captions like `text`: those that differ
    /// from it in their digits alone.
    bool triedFor(const QString &text) const;
    /// Whether `text` can be drawn from the glyphs.
    bool holds(const QString &text) const { return m_exact && triedFor(text); }
    /// Where the digits in which two captions that the glyphs hold differ are drawn.
    QRegion changes(const QString &before, const QString &after) const;
    /// Paints the part `area` of `text`, which the glyphs hold.
    void paint(QPainter &painter, const QString &text, const QRect &area) const;

private:
    bool layOut(const QString &text, const QFont &font);
    /// `m_pattern` with the digits `digits`, one for each of its digits in turn.
    QString withDigits(const std::function<int(qsizetype)> &digits) const;
    /// Whether the glyphs draw captions with every digit, beside other digits, as `paint` draws
    /// them.
    bool drawnAlike(const PaintCaption &paint) const;
    QImage drawn(const std::function<void(QPainter &)> &paint) const;

    QString m_pattern;                  ///< the caption with each digit a nought
    QChar m_zero;                       ///< the nought of the caption's digits
    bool m_tried = false;               ///< whether the glyphs were built for `m_pattern`
    bool m_exact = false;               ///< whether they draw its captions exactly
    QList<qsizetype> m_digitAt;         ///< where in the caption its digits are
    QList<QRect> m_places;              ///< where each of those digits is drawn
    QGlyphRun m_run;                    ///< the pattern's glyphs, one for each character
    std::array<quint32, 10> m_digits{}; ///< the glyphs of the digits 0 … 9
    QRectF m_reach; ///< how far the ink of any of the glyphs may reach from its origin
    QPointF m_origin;
    QPen m_pen;
    QPixmap m_beneath;
};

} // namespace tockwell
