#include "UPlasmaForm.h"

#include "engine/Error.h"

#include <QIODevice>
#include <QMouseEvent>
#include <QPainter>
#include <QtEndian>

#include <array>
#include <optional>

namespace tockwell {

// ---------------------------------------------------------------------------------------------
// TPlasmaRegion

namespace {

constexpr qint32 HeaderSize = 32;
constexpr qint32 RectSize = 16;
constexpr qint32 RectanglesType = 1;
/// More rectangles than any window shape needs; guards the allocation against a hostile count.
constexpr qint32 MaxRectangles = 1 << 20;
/// Coordinates beyond this are no window's shape; keeping within it keeps QRect's and QRegion's
/// int arithmetic (right = left + width - 1, sums of extents) from overflowing.
constexpr qint64 MaxCoordinate = 1 << 27;

qint32 int32At(QByteArrayView data, qsizetype offset)
{
    return qFromLittleEndian<qint32>(data.data() + offset);
}

void appendInt32(QByteArray &data, qint32 value)
{
    std::array<char, 4> bytes{};
    qToLittleEndian(value, bytes.data());
    data.append(bytes.data(), bytes.size());
}

/// A rectangle of the data (right and bottom exclusive), or nothing when it is not one.
std::optional<QRect> rectAt(QByteArrayView data, qsizetype offset)
{
    const qint64 left = int32At(data, offset), top = int32At(data, offset + 4);
    const qint64 right = int32At(data, offset + 8), bottom = int32At(data, offset + 12);
    const qint64 width = right - left, height = bottom - top;
    const auto inRange = [](qint64 c) { return c >= -MaxCoordinate && c <= MaxCoordinate; };
    if (width < 0 || height < 0 || !inRange(left) || !inRange(top) || !inRange(right) ||
        !inRange(bottom))
        return std::nullopt;
    return QRect(int(left), int(top), int(width), int(height));
}

} // namespace

bool TPlasmaRegion::setRegionData(QByteArrayView data)
{
    m_region = QRegion();
    if (data.isEmpty())
        return true;
    if (data.size() < HeaderSize || int32At(data, 0) != HeaderSize ||
        int32At(data, 4) != RectanglesType)
        return false;
    const qint32 count = int32At(data, 8);
    const qint32 rectBytes = int32At(data, 12);
    if (count < 0 || count > MaxRectangles || data.size() != HeaderSize + count * RectSize ||
        (rectBytes != 0 && rectBytes != count * RectSize))
        return false;
    QRegion region;
    for (qint32 i = 0; i < count; ++i) {
        const std::optional<QRect> rect = rectAt(data, HeaderSize + qsizetype(i) * RectSize);
        if (!rect)
            return false;
        region += *rect;
    }
    m_region = region;
    return true;
}

QByteArray TPlasmaRegion::regionData() const
{
    QByteArray data;
    if (m_region.isEmpty())
        return data;
    const qint32 count = qint32(m_region.rectCount());
    const QRect bound = m_region.boundingRect();
    for (qint32 value : {HeaderSize, RectanglesType, count, count * RectSize, bound.left(),
                         bound.top(), bound.right() + 1, bound.bottom() + 1})
        appendInt32(data, value);
    for (const QRect &rect : m_region) {
        for (qint32 value : {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1})
            appendInt32(data, value);
    }
    return data;
}

bool TPlasmaRegion::readData(QIODevice &device)
{
    m_region = QRegion();
    std::array<char, 4> sizeField{};
    if (device.read(sizeField.data(), sizeField.size()) != qint64(sizeField.size()))
        return false;
    const qint32 size = qFromLittleEndian<qint32>(sizeField.data());
    if (size <= 0)
        return true;
    if (size > HeaderSize + MaxRectangles * RectSize)
        return false;
    const QByteArray data = device.read(size);
    return data.size() == size && setRegionData(data);
}

void TPlasmaRegion::writeData(QIODevice &device) const
{
    const QByteArray data = regionData();
    QByteArray stream;
    appendInt32(stream, qint32(data.size()));
    stream.append(data);
    device.write(stream);
}

// ---------------------------------------------------------------------------------------------
// TPlasmaForm

namespace {

QWidget *requireForm(QWidget *form)
{
    if (form == nullptr || !form->isWindow())
        throw Error(u"Please Drop on a Form"_qs);
    return form;
}

} // namespace

TPlasmaForm::TPlasmaForm(QWidget *form) : QWidget(requireForm(form))
{
    if (!form->windowFlags().testFlag(Qt::FramelessWindowHint))
        form->setWindowFlag(Qt::FramelessWindowHint);
    setGeometry(form->rect());
    form->installEventFilter(this);
}

void TPlasmaForm::setPicture(const QImage &picture)
{
    m_picture = picture;
    if (!m_picture.isNull()) {
        form()->setFixedSize(m_picture.size());
        resize(m_picture.size());
    }
    update();
}

void TPlasmaForm::setMaskRegion(const TPlasmaRegion &mask)
{
    m_mask = mask;
    if (m_mask.isEmpty())
        form()->clearMask();
    else
        form()->setMask(m_mask.region());
}

void TPlasmaForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void TPlasmaForm::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->position().toPoint();
    event->accept();
}

void TPlasmaForm::mouseMoveEvent(QMouseEvent *event)
{
    constexpr Qt::KeyboardModifiers keys =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    event->accept();
    if (!m_moveable || event->buttons() != Qt::LeftButton || (event->modifiers() & keys) != 0)
        return;
    // From the global position: the window may not have reached its last place yet, and the
    // local position would then count that move twice.
    const QPoint offset = mapTo(form(), QPoint(0, 0));
    form()->move(event->globalPosition().toPoint() - m_pressed - offset);
}

bool TPlasmaForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == form() && event->type() == QEvent::Resize)
        setGeometry(form()->rect());
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// TImageButton

TImageButton::TImageButton(QWidget *parent) : QAbstractButton(parent)
{
    resize(50, 50);
}

void TImageButton::setBitmap(const QImage &image)
{
    m_bitmap = image;
    showImage(image);
}

void TImageButton::setBitmapOver(const QImage &image)
{
    m_bitmapOver = image;
    update();
}

void TImageButton::setBitmapDown(const QImage &image)
{
    m_bitmapDown = image;
    update();
}

void TImageButton::setBitmapUp(const QImage &image)
{
    m_bitmapUp = image;
    update();
}

void TImageButton::setBitmapDisabled(const QImage &image)
{
    m_bitmapDisabled = image;
    if (!isEnabled() && !image.isNull())
        resize(image.size());
    update();
}

QImage TImageButton::shownImage() const
{
    return !isEnabled() && !m_bitmapDisabled.isNull() ? m_bitmapDisabled : current();
}

void TImageButton::showImage(const QImage &image)
{
    m_current = image;
    if (!image.isNull())
        resize(image.size());
    update();
}

void TImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    painter.drawImage(0, 0, shownImage());
}

void TImageButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    if (isEnabled() && !m_bitmapOver.isNull())
        showImage(m_bitmapOver);
}

void TImageButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    if (isEnabled() && !m_bitmap.isNull())
        showImage(m_bitmap);
}

void TImageButton::mousePressEvent(QMouseEvent *event)
{
    QAbstractButton::mousePressEvent(event);
    emit mouseDown(event->button(), event->position().toPoint());
    if (event->button() == Qt::LeftButton && isEnabled() && !m_bitmapDown.isNull())
        showImage(m_bitmapDown);
}

void TImageButton::mouseReleaseEvent(QMouseEvent *event)
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
        showImage(m_bitmapUp);
    else if (!m_bitmapOver.isNull())
        showImage(m_bitmapOver);
    else
        showImage(m_bitmap);
}

void TImageButton::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled() && !m_bitmapDisabled.isNull())
        resize(m_bitmapDisabled.size());
}

void TImageButton::hideEvent(QHideEvent *event)
{
    // A hidden button is under no mouse: it comes back with its normal image, not the last
    // hover or release image.
    QAbstractButton::hideEvent(event);
    if (!m_bitmap.isNull())
        m_current = m_bitmap;
}

} // namespace tockwell
