#pragma once

#include "ImageFile.h"

#include <QAbstractButton>
#include <QImage>

namespace tockwell {

/// A button drawn from up to five bitmaps that it swaps as the mouse enters, presses, releases
/// and leaves it. `clicked` is its click event; it fires only while the button is enabled.
/// The four state bitmaps may be files read when the button first shows them (LazyImage); they
/// are dropped again when the button is hidden.
class ImageButton final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ImageButton(QWidget *parent = nullptr);

    /// The normal image; also becomes the current image and sets the button's size.
    void setBitmap(const QImage &image);
    void setBitmapOver(const LazyImage &image);     ///< while the mouse is over the button
    void setBitmapDown(const LazyImage &image);     ///< while the left button is held on it
    void setBitmapUp(const LazyImage &image);       ///< after a release over the button
    void setBitmapDisabled(const LazyImage &image); ///< while the button is disabled

    const QImage &bitmap() const { return m_bitmap; }
    const QImage &bitmapOver() const { return m_bitmapOver.image(); }
    const QImage &bitmapDown() const { return m_bitmapDown.image(); }
    const QImage &bitmapUp() const { return m_bitmapUp.image(); }
    const QImage &bitmapDisabled() const { return m_bitmapDisabled.image(); }
    /// How many of the four state bitmaps are held decoded now.
    int decodedStates() const;

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

    QImage m_bitmap;
    LazyImage m_bitmapOver, m_bitmapDown, m_bitmapUp, m_bitmapDisabled;
    QImage m_current;
};

} // namespace tockwell
