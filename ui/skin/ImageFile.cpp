#include "ImageFile.h"

#include <QImageReader>

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
