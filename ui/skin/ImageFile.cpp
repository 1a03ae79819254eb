#include "ImageFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmapCache>
#include <QtEndian>

#include <cstring>

namespace tockwell {

QImage readImage(const QString &path, const char *format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

namespace {

// The parts of a BMP file that topDownBitmap writes: the file header, then the picture's
// header (the oldest kind, 40 bytes), then the rows.
constexpr qsizetype FileHeaderSize = 14;
constexpr qsizetype InfoHeaderSize = 40;
constexpr qsizetype PixelsOffset = FileHeaderSize + InfoHeaderSize;

/// A row's bytes: three a pixel, padded to whole 32-bit words.
qsizetype rowBytes(qsizetype width)
{
    return (width * 3 + 3) / 4 * 4;
}

template <typename Number> void put(char *at, Number value)
{
    qToLittleEndian(value, at);
}

template <typename Number> Number get(const char *at)
{
    return qFromLittleEndian<Number>(at);
}

} // namespace

QByteArray topDownBitmap(const QImage &image)
{
    // Blue, green, red: the byte order of a BMP's pixels.
    const QImage pixels = image.convertToFormat(QImage::Format_BGR888);
    const qsizetype stride = rowBytes(pixels.width());
    QByteArray file(PixelsOffset + stride * pixels.height(), '\0');
    char *const header = file.data();
    header[0] = 'B';
    header[1] = 'M';
    put(header + 2, quint32(file.size()));
    put(header + 10, quint32(PixelsOffset));
    put(header + 14, quint32(InfoHeaderSize));
    put(header + 18, qint32(pixels.width()));
    put(header + 22, qint32(-pixels.height())); // negative: the first row is the top one
    put(header + 26, quint16(1));               // one plane
    put(header + 28, quint16(24));              // bits a pixel
    put(header + 34, quint32(stride * pixels.height()));
    put(header + 38, qint32(pixels.dotsPerMeterX()));
    put(header + 42, qint32(pixels.dotsPerMeterY()));
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(header + PixelsOffset + y * stride, pixels.constScanLine(y),
                    std::size_t(pixels.width()) * 3);
    return file;
}

QImage bitmapInPlace(QByteArrayView bitmap)
{
    if (bitmap.size() < PixelsOffset || !bitmap.startsWith("BM"))
        return QImage();
    const char *const header = bitmap.data();
    const auto offset = get<quint32>(header + 10);
    const auto width = get<qint32>(header + 18);
    const auto height = get<qint32>(header + 22);
    constexpr qint32 largest = 0x7fff; // in either direction, as BMP readers take it
    const bool topDown24 = get<quint32>(header + 14) >= InfoHeaderSize && width > 0 &&
                           width <= largest && height < 0 && height >= -largest &&
                           get<quint16>(header + 26) == 1 && get<quint16>(header + 28) == 24 &&
                           get<quint32>(header + 30) == 0; // no compression
    if (!topDown24 || offset < PixelsOffset ||
        bitmap.size() - qsizetype(offset) < rowBytes(width) * -qsizetype(height))
        return QImage();
    return QImage(reinterpret_cast<const uchar *>(header + offset), width, -height, rowBytes(width),
                  QImage::Format_BGR888);
}

QPixmap readPixmap(const QString &path, const char *format)
{
    return QPixmap::fromImage(readImage(path, format));
}

namespace {

/// A number as QPixmap::load writes it into its cache keys: byte by byte from the lowest, each
/// byte's low hex digit first.
template <typename Number> QString cacheKeyHex(Number value)
{
    static constexpr char16_t digits[] = u"0123456789abcdef";
    QString text;
    for (std::size_t i = 0; i < sizeof(Number); ++i) {
        const auto byte = static_cast<unsigned>((value >> (8 * i)) & 0xff);
        text += QChar(digits[byte & 0xf]);
        text += QChar(digits[byte >> 4]);
    }
    return text;
}

} // namespace

QPixmap cacheStylePictures()
{
    // QPixmap(fileName) looks for the file in QPixmapCache under its path, time, size and
    // pixel type before it reads it (and a read guesses the format).
    const QFileInfo frame(u":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"_qs);
    const QPixmap picture = readPixmap(frame.filePath(), "PNG");
    if (picture.isNull())
        return picture;
    const QString key = u"qt_pixmap"_qs + frame.absoluteFilePath() +
                        cacheKeyHex(quint32(frame.lastModified().toSecsSinceEpoch())) +
                        cacheKeyHex(quint64(frame.size())) +
                        cacheKeyHex(quint32(0)) /* a pixmap, not a bitmap */;
    QPixmapCache::insert(key, picture);
    return picture;
}

QIcon readIcon(const QString &path, const char *format)
{
    return QIcon(readPixmap(path, format));
}

const QImage &LazyImage::image() const
{
    if (!m_read && !m_path.isEmpty()) {
        m_image = readImage(m_path, m_format.constData());
        m_read = true;
    }
    return m_image;
}

void LazyImage::release()
{
    if (!m_path.isEmpty()) {
        m_image = QImage();
        m_read = false;
    }
}

} // namespace tockwell
