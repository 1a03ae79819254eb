#pragma once

#include <QByteArrayView>
#include <QRegion>

class QIODevice;

namespace tockwell {

/// A window shape kept as a list of rectangles. Its persisted form (the "Data" stream) is a
/// little-endian int32 size followed by that many bytes of region data: a 32-byte header
/// (header size 32, type 1 = rectangles, rectangle count, rectangle bytes, bounding rectangle)
/// and the rectangles as four int32 each (left, top, right, bottom; right and bottom exclusive).
class WindowShape
{
public:
    WindowShape() = default;
    explicit WindowShape(const QRegion &region) : m_region(region) {}

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

} // namespace tockwell
