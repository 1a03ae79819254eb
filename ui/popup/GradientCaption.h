#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include <optional>
#include <vector>

namespace tockwell {

/// Windows' MulDiv: a × b / c with the product exact and the quotient rounded to the nearest
/// integer, halves away from zero; -1 when c is 0.
int mulDiv(int a, int b, int c);

/// A colour as the caption bar keeps it: a fixed RGB value, or a role of the system palette that
/// is resolved anew at every drawing.
class GradientColor
{
public:
    GradientColor(QColor rgb) : m_rgb(rgb) {} // NOLINT: a plain colour converts
    static GradientColor system(QPalette::ColorRole role);

    QColor resolved(const QPalette &palette) const;
    bool operator==(const GradientColor &other) const = default;

private:
    GradientColor() = default;
    QColor m_rgb;
    std::optional<QPalette::ColorRole> m_role;
};

/// A title strip: a horizontal gradient made of vertical bands, with a one-line caption over it.
class GradientCaption final : public QWidget
{
    Q_OBJECT

public:
    enum class FillDirection : quint8
    {
        LeftToRight = 0,
        RightToLeft = 1
    };

    /// One vertical band: from x0 (inclusive) to x1 (exclusive), over the full height.
    struct Band
    {
        int x0;
        int x1;
        QRgb colour;
        bool operator==(const Band &) const = default;
    };
    /// The bands of a bar `width` pixels wide going from `start` to `end` in `count` colours.
    static std::vector<Band> bands(int width, int count, QRgb start, QRgb end);

    explicit GradientCaption(QWidget *parent = nullptr);

    FillDirection fillDirection() const { return m_fillDirection; }
    GradientColor beginColor() const { return m_beginColor; }
    GradientColor endColor() const { return m_endColor; }
    bool autoSize() const { return m_autoSize; }
    int numberOfColors() const { return m_numberOfColors; }
    const QFont &captionFont() const { return m_font; }
    QString caption() const { return m_caption; }
    int textTop() const { return m_textTop; }
    int textLeft() const { return m_textLeft; }

    void setBeginColor(const GradientColor &colour);
    void setEndColor(const GradientColor &colour);
    void setFillDirection(FillDirection direction);
    /// Limited to 1 … 255.
    void setNumberOfColors(int count);
    void setAutoSize(bool autoSize);
    void setCaptionFont(const QFont &font);
    void setCaption(const QString &caption);
    void setTextTop(int top);
    void setTextLeft(int left);

    /// The bar as it is drawn now, with the system colours of the moment.
    QPixmap render() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawNow() { repaint(); }

    FillDirection m_fillDirection = FillDirection::LeftToRight;
    GradientColor m_beginColor = QColor(128, 128, 128);
    GradientColor m_endColor = GradientColor::system(QPalette::Button);
    bool m_autoSize = false;
    int m_numberOfColors = 255;
    QFont m_font;
    QString m_caption = QStringLiteral("GradientCaption");
    int m_textTop = 5;
    int m_textLeft = 12;
};

} // namespace tockwell
