#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QRegion>
#include <QWidget>

class QIODevice;

namespace tockwell {

/// A window shape kept as a list of rectangles. Its persisted form (the "Data" stream) is a
/// little-endian int32 size followed by that many bytes of region data: a 32-byte header
/// (header size 32, type 1 = rectangles, rectangle count, rectangle bytes, bounding rectangle)
/// and the rectangles as four int32 each (left, top, right, bottom; right and bottom exclusive).
class TPlasmaRegion
{
public:
    TPlasmaRegion() = default;
    explicit TPlasmaRegion(const QRegion &region) : m_region(region) {}

    /// The shape; empty means that there is none and the window stays rectangular.
    const QRegion &region() const { return m_region; }
    bool isEmpty() const { return m_region.isEmpty(); }

    /// Replaces the shape with raw region data (header and rectangles, without the size field).
    /// Malformed data leaves no shape and returns false.
    bool setRegionData(QByteArrayView data);
    /// The raw region data of the shape; empty when there is none.
    QByteArray regionData() const;

    /// Reads the stream: the size, then, if it is positive, that many bytes of region data.
    /// A truncated, oversized or malformed stream leaves no shape and returns false.
    bool readData(QIODevice &device);
    /// Writes the stream: the size (0 without a shape), then the region data.
    void writeData(QIODevice &device) const;

private:
    QRegion m_region;
};

/// The skin of a frameless window: a picture filling the whole window, the window's shape cut
/// from a region, and dragging of the window by any point of the picture.
class TPlasmaForm final : public QWidget
{
    Q_OBJECT

public:
    /// Throws Error("Please Drop on a Form") unless `form` is a top-level window; makes the form
    /// frameless and fills it.
    explicit TPlasmaForm(QWidget *form);

    /// The picture; a non-empty one sets the form's client size to its own.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

    /// The shape, applied to the form at once (no shape: the form is rectangular).
    void setMaskRegion(const TPlasmaRegion &mask);
    const TPlasmaRegion &maskRegion() const { return m_mask; }

    /// Whether dragging the picture with the left button moves the form (default true).
    void setMoveable(bool moveable) { m_moveable = moveable; }
    bool isMoveable() const { return m_moveable; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *form() const { return parentWidget(); }

    QImage m_picture;
    TPlasmaRegion m_mask;
    bool m_moveable = true;
    QPoint m_pressed; ///< where the last press was, in this widget's coordinates
};

/// A button drawn from up to five bitmaps that it swaps as the mouse enters, presses, releases
/// and leaves it. `clicked` is its click event; it fires only while the button is enabled.
class TImageButton final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit TImageButton(QWidget *parent = nullptr);

    /// The normal image; also becomes the current image and sets the button's size.
    void setBitmap(const QImage &image);
    void setBitmapOver(const QImage &image);     ///< while the mouse is over the button
    void setBitmapDown(const QImage &image);     ///< while the left button is held on it
    void setBitmapUp(const QImage &image);       ///< after a release over the button
    void setBitmapDisabled(const QImage &image); ///< while the button is disabled

    const QImage &bitmap() const { return m_bitmap; }
    const QImage &bitmapOver() const { return m_bitmapOver; }
    const QImage &bitmapDown() const { return m_bitmapDown; }
    const QImage &bitmapUp() const { return m_bitmapUp; }
    const QImage &bitmapDisabled() const { return m_bitmapDisabled; }

    /// The image that is painted: the disabled image while disabled (when there is one),
    /// otherwise the current image.
    QImage shownImage() const;

signals:
    void mouseDown(Qt::MouseButton button, QPoint position);
    void mouseUp(Qt::MouseButton button, QPoint position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showImage(const QImage &image);
    const QImage &current() const { return m_current.isNull() ? m_bitmap : m_current; }

    QImage m_bitmap, m_bitmapOver, m_bitmapDown, m_bitmapUp, m_bitmapDisabled;
    QImage m_current;
};

} // namespace tockwell
