#include "ImageFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmapCache>

namespace tockwell {

QImage readImage(const QString &path, const char *format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
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
