#include "ImageButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace tockwell {

ImageButton::ImageButton(QWidget *parent) : QAbstractButton(parent)
{
    resize(50, 50);
}

void ImageButton::setBitmap(const QImage &image)
{
    m_bitmap = image;
    showImage(image);
}

void ImageButton::setBitmapOver(const LazyImage &image)
{
    m_bitmapOver = image;
    update();
}

void ImageButton::setBitmapDown(const LazyImage &image)
{
    m_bitmapDown = image;
    update();
}

void ImageButton::setBitmapUp(const LazyImage &image)
{
    m_bitmapUp = image;
    update();
}

void ImageButton::setBitmapDisabled(const LazyImage &image)
{
    m_bitmapDisabled = image;
    if (!isEnabled() && !m_bitmapDisabled.isNull())
        resize(m_bitmapDisabled.image().size());
    update();
}

int ImageButton::decodedStates() const
{
    return int(m_bitmapOver.isDecoded()) + int(m_bitmapDown.isDecoded()) +
           int(m_bitmapUp.isDecoded()) + int(m_bitmapDisabled.isDecoded());
}

QImage ImageButton::shownImage() const
{
    return !isEnabled() && !m_bitmapDisabled.isNull() ? m_bitmapDisabled.image() : current();
}

void ImageButton::showImage(const QImage &image)
{
    m_current = image;
    if (!image.isNull())
        resize(image.size());
    update();
}

void ImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    painter.drawImage(0, 0, shownImage());
}

void ImageButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    if (isEnabled() && !m_bitmapOver.isNull())
        showImage(m_bitmapOver.image());
}

void ImageButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    if (isEnabled() && !m_bitmap.isNull())
        showImage(m_bitmap);
}

void ImageButton::mousePressEvent(QMouseEvent *event)
{
    QAbstractButton::mousePressEvent(event);
    emit mouseDown(event->button(), event->position().toPoint());
    if (event->button() == Qt::LeftButton && isEnabled() && !m_bitmapDown.isNull())
        showImage(m_bitmapDown.image());
}

void ImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    // The click (emitted by the base class when released over the button) comes first.
    QAbstractButton::mouseReleaseEvent(event);
    emit mouseUp(event->button(), event->position().toPoint());
    // A click that hid the window has already put the normal image back.
    if (event->button() != Qt::LeftButton || !isEnabled() || !isVisible())
        return;
    if (!rect().contains(event->position().toPoint()))
        showImage(m_bitmap);
    else if (!m_bitmapUp.isNull())
        showImage(m_bitmapUp.image());
    else if (!m_bitmapOver.isNull())
        showImage(m_bitmapOver.image());
    else
        showImage(m_bitmap);
}

void ImageButton::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled() && !m_bitmapDisabled.isNull())
        resize(m_bitmapDisabled.image().size());
}

void ImageButton::hideEvent(QHideEvent *event)
{
    // A hidden button is under no mouse: it comes back with its normal image, not the last
    // hover or release image. The state bitmaps read from files are read again when next shown.
    QAbstractButton::hideEvent(event);
    if (!m_bitmap.isNull())
        m_current = m_bitmap;
    m_bitmapOver.release();
    m_bitmapDown.release();
    m_bitmapUp.release();
    m_bitmapDisabled.release();
}

} // namespace tockwell
