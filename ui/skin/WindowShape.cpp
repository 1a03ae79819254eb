#include "WindowShape.h"

#include <QIODevice>
#include <QtEndian>

#include <array>
#include <optional>

namespace tockwell {

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

bool WindowShape::setRegionData(QByteArrayView data)
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

QByteArray WindowShape::regionData() const
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

bool WindowShape::readData(QIODevice &device)
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

void WindowShape::writeData(QIODevice &device) const
{
    const QByteArray data = regionData();
    QByteArray stream;
    appendInt32(stream, qint32(data.size()));
    stream.append(data);
    device.write(stream);
}

} // namespace tockwell
