// make-skin: draws the setup window's skin into a folder: the picture (setup.bmp, 474 × 245,
// 24 bits, its rows from the top), its mask stream (setup.rgn) and the five bitmaps of each command
// button (31 × 31). Usage: make-skin FOLDER
#include "ui/skin/ImageFile.h"
#include "ui/skin/SkinWidget.h"

#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <vector>

using namespace tockwell;

namespace {

// The shape: a body with rounded corners whose top edge lies a little below the picture's;
// round sockets around the command buttons and a title plate in the middle rise above it.
constexpr int Width = 473; // the shape; the picture is one column wider
constexpr int Height = 245;
constexpr QSize PictureSize(474, 245);
constexpr double BodyTop = 10, TopRadius = 11, BottomRadius = 10;
constexpr double SocketRadius = 17, ButtonTop = 6, ButtonSize = 31;
constexpr double PlateLeft = 160, PlateRight = 349, PlateRadius = 10;
constexpr double HeaderBottom = 42; // where the group boxes start
constexpr int ButtonLefts[] = {8, 43, 78, 113, 365, 400, 435};
constexpr int ExpectedRectangles = 64;

struct RoundedRect
{
    double left, top, right, bottom, radius;

    bool contains(double x, double y) const
    {
        if (x < left || x > right || y < top || y > bottom)
            return false;
        const double cx = std::clamp(x, left + radius, right - radius);
        const double cy = std::clamp(y, top + radius, bottom - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    }
};

std::vector<RoundedRect> shapeParts()
{
    std::vector<RoundedRect> parts{
        {0, BodyTop, Width, 160, TopRadius},
        {0, 80, Width, Height, BottomRadius},
        {PlateLeft, 0, PlateRight, 60, PlateRadius},
    };
    for (const int left : ButtonLefts) {
        const double cx = left + ButtonSize / 2, cy = ButtonTop + ButtonSize / 2;
        parts.push_back({cx - SocketRadius, cy - SocketRadius, cx + SocketRadius, cy + SocketRadius,
                         SocketRadius});
    }
    return parts;
}

/// The shape as rectangles: the pixels whose centres lie inside it, row by row, rows with the
/// same runs joined into one band.
QRegion shapeRegion()
{
    const std::vector<RoundedRect> parts = shapeParts();
    QRegion region;
    for (int y = 0; y < Height; ++y) {
        int start = -1;
        for (int x = 0; x <= Width; ++x) {
            const bool inside = x < Width && std::any_of(parts.begin(), parts.end(), [&](auto &p) {
                                    return p.contains(x + 0.5, y + 0.5);
                                });
            if (inside && start < 0)
                start = x;
            if (!inside && start >= 0) {
                region += QRect(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    return region;
}

QPainterPath shapePath()
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const RoundedRect &p : shapeParts())
        path.addRoundedRect(QRectF(p.left, p.top, p.right - p.left, p.bottom - p.top), p.radius,
                            p.radius);
    return path.simplified();
}

QLinearGradient vertical(double top, double bottom, const QColor &from, const QColor &to)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

const QColor Outline(0x1d, 0x30, 0x47);

void drawClock(QPainter &painter, QPointF centre, double radius)
{
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(0, -radius * 0.6));
    painter.drawLine(centre, centre + QPointF(radius * 0.45, radius * 0.2));
    // the two bells
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (const double side : {-1.0, 1.0})
        painter.drawPie(
            QRectF(centre.x() + side * radius * 0.75 - 4, centre.y() - radius - 4, 8, 8), 0,
            180 * 16);
}

QImage drawPicture()
{
    QImage picture(PictureSize, QImage::Format_RGB32);
    picture.fill(Outline);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = shapePath();

    // The body: calm and light under the group boxes.
    painter.fillPath(
        shape, vertical(HeaderBottom, Height, QColor(0xf6, 0xf8, 0xfb), QColor(0xe4, 0xea, 0xf1)));
    // The header with the buttons and the title.
    QPainterPath header;
    header.addRect(0, 0, Width, HeaderBottom);
    painter.fillPath(shape.intersected(header),
                     vertical(0, HeaderBottom, QColor(0x3a, 0x6d, 0xa3), QColor(0x22, 0x48, 0x70)));
    painter.fillRect(QRectF(0, HeaderBottom - 1, Width, 1), QColor(0x16, 0x34, 0x54));
    painter.fillRect(QRectF(0, HeaderBottom, Width, 1), QColor(0xc4, 0xd0, 0xdd));

    // Sockets: a darker ring around each button.
    for (const int left : ButtonLefts) {
        const QPointF centre(left + ButtonSize / 2, ButtonTop + ButtonSize / 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(vertical(centre.y() - SocketRadius, centre.y() + SocketRadius,
                                  QColor(0x1a, 0x38, 0x59), QColor(0x2c, 0x58, 0x86)));
        painter.drawEllipse(centre, SocketRadius - 1.5, SocketRadius - 1.5);
    }

    // White cards under the two group boxes (their frames are the group boxes' own).
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawRoundedRect(QRectF(5.5, 47.5, 220, 193), 6, 6);
    painter.drawRoundedRect(QRectF(225.5, 47.5, 243, 193), 6, 6);

    // The title.
    drawClock(painter, QPointF(PlateLeft + 40, 22), 9);
    QFont font(u"DejaVu Sans"_qs);
    font.setPixelSize(17);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(PlateLeft + 56, 4, PlateRight - PlateLeft - 60, 34),
                     Qt::AlignVCenter | Qt::AlignLeft, u"Tockwell"_qs);

    // The outline along the shape's edge.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Outline, 2));
    painter.drawPath(shape);
    painter.end();
    return picture;
}

// ---------------------------------------------------------------------------------------------
// The buttons

enum class State
{
    Normal,
    Over,
    Down,
    Up,
    Disabled
};

struct Button
{
    const char *name;
    int left;
    QColor accent; ///< the face while the mouse is over it
    void (*glyph)(QPainter &);
};

QPen glyphPen(double width = 2.2)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void playGlyph(QPainter &p)
{
    p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(12.5, 9.5), QPointF(12.5, 21.5), QPointF(22.5, 15.5)}));
}

void stopGlyph(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(10.5, 10.5, 10, 10), 1.5, 1.5);
}

void minimiseGlyph(QPainter &p)
{
    p.setPen(glyphPen());
    p.drawLine(QPointF(15.5, 8.5), QPointF(15.5, 17.5));
    p.drawPolyline(QPolygonF({QPointF(11.5, 14), QPointF(15.5, 18), QPointF(19.5, 14)}));
    p.drawLine(QPointF(9.5, 22), QPointF(21.5, 22));
}

void exitGlyph(QPainter &p)
{
    p.setPen(glyphPen(2.6));
    p.drawLine(QPointF(11, 11), QPointF(20, 20));
    p.drawLine(QPointF(20, 11), QPointF(11, 20));
}

void optionsGlyph(QPainter &p)
{
    const QPointF centre(15.5, 15.5);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < 8; ++i) {
        const double angle = i * M_PI / 4;
        const QPointF direction(std::cos(angle), std::sin(angle));
        p.drawLine(centre + direction * 5.5, centre + direction * 8.5);
    }
    p.setPen(QPen(Qt::white, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 5, 5);
}

void aboutGlyph(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(15.5, 9.5), 1.8, 1.8);
    p.drawRoundedRect(QRectF(14.2, 13, 2.6, 9.5), 1, 1);
    p.drawRect(QRectF(12.5, 13, 3, 1.6));
    p.drawRect(QRectF(12.5, 21, 6, 1.6));
}

void webGlyph(QPainter &p)
{
    const QPointF centre(15.5, 15.5);
    p.setPen(QPen(Qt::white, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 8, 8);
    p.drawEllipse(centre, 3.5, 8);
    p.drawLine(QPointF(7.5, 15.5), QPointF(23.5, 15.5));
    p.drawLine(QPointF(9, 11.5), QPointF(22, 11.5));
    p.drawLine(QPointF(9, 19.5), QPointF(22, 19.5));
}

void mailGlyph(QPainter &p)
{
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(7.5, 10, 16, 11.5), 1.5, 1.5);
    p.drawPolyline(QPolygonF({QPointF(8, 10.8), QPointF(15.5, 16.5), QPointF(23, 10.8)}));
}

const Button Buttons[] = {
    {.name = "ib_Start", .left = 8, .accent = QColor(0x4c, 0xae, 0x5a), .glyph = playGlyph},
    {.name = "ib_Stop", .left = 8, .accent = QColor(0xe8, 0x8e, 0x2c), .glyph = stopGlyph},
    {.name = "ib_Minimalizuj",
     .left = 43,
     .accent = QColor(0x5d, 0x9b, 0xd8),
     .glyph = minimiseGlyph},
    {.name = "ib_Opcje", .left = 78, .accent = QColor(0x5d, 0x9b, 0xd8), .glyph = optionsGlyph},
    {.name = "ib_About", .left = 113, .accent = QColor(0x5d, 0x9b, 0xd8), .glyph = aboutGlyph},
    {.name = "ib_WWW", .left = 365, .accent = QColor(0x5d, 0x9b, 0xd8), .glyph = webGlyph},
    {.name = "ib_Mail", .left = 400, .accent = QColor(0x5d, 0x9b, 0xd8), .glyph = mailGlyph},
    {.name = "ib_Koniec", .left = 435, .accent = QColor(0xd9, 0x4a, 0x44), .glyph = exitGlyph},
};

QImage drawButton(const QImage &picture, const Button &button, State state)
{
    QImage image = picture.copy(button.left, int(ButtonTop), int(ButtonSize), int(ButtonSize));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(15.5, 15.5);

    QColor face(0x3f, 0x77, 0xae);
    if (state == State::Over || state == State::Up)
        face = button.accent;
    else if (state == State::Down)
        face = button.accent.darker(125);
    else if (state == State::Disabled)
        face = QColor(0x86, 0x92, 0x9f);

    painter.setPen(QPen(QColor(0x10, 0x24, 0x3a), 1));
    painter.setBrush(vertical(2, 29, face.lighter(state == State::Down ? 100 : 118),
                              face.darker(state == State::Down ? 90 : 112)));
    painter.drawEllipse(centre, 13.5, 13.5);
    if (state != State::Down) { // a soft highlight on the upper half
        painter.setPen(Qt::NoPen);
        painter.setBrush(vertical(3, 16, QColor(255, 255, 255, 70), QColor(255, 255, 255, 0)));
        painter.drawEllipse(QRectF(6, 3, 19, 12));
    }
    if (state == State::Down)
        painter.translate(0.5, 1);

    QImage glyph(image.size(), QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    {
        QPainter glyphPainter(&glyph);
        glyphPainter.setRenderHint(QPainter::Antialiasing);
        button.glyph(glyphPainter);
        if (state == State::Disabled) {
            glyphPainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            glyphPainter.fillRect(glyph.rect(), QColor(0xd8, 0xdd, 0xe3));
        }
    }
    painter.drawImage(0, 0, glyph);
    return image;
}

bool save(const QImage &image, const QString &path)
{
    if (image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
        return true;
    std::fprintf(stderr, "make-skin: cannot write %s\n", qPrintable(path));
    return false;
}

/// The window's picture, written with its rows from the top so that the program shows it
/// without decoding it (bitmapInPlace).
bool savePicture(const QImage &image, const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(topDownBitmap(image)) >= 0 && file.flush())
        return true;
    std::fprintf(stderr, "make-skin: cannot write %s\n", qPrintable(path));
    return false;
}

bool writeMask(const QString &path)
{
    const WindowShape mask(shapeRegion());
    if (mask.region().rectCount() != ExpectedRectangles ||
        mask.region().boundingRect() != QRect(0, 0, Width, Height)) {
        std::fprintf(stderr, "make-skin: the shape has %d rectangles, not %d\n",
                     mask.region().rectCount(), ExpectedRectangles);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "make-skin: cannot write %s\n", qPrintable(path));
        return false;
    }
    mask.writeData(file);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-skin FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + u'/';
    const QImage picture = drawPicture();
    bool ok = savePicture(picture, folder + u"setup.bmp"_qs) && writeMask(folder + u"setup.rgn"_qs);
    const std::pair<State, const char *> states[] = {{State::Normal, ""},
                                                     {State::Over, "_over"},
                                                     {State::Down, "_down"},
                                                     {State::Up, "_up"},
                                                     {State::Disabled, "_disabled"}};
    for (const Button &button : Buttons)
        for (const auto &[state, suffix] : states)
            ok = ok &&
                 save(drawButton(picture, button, state),
                      folder + QLatin1String(button.name) + QLatin1String(suffix) + u".bmp"_qs);
    return ok ? 0 : 1;
}
