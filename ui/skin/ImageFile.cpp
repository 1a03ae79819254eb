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

} // namespace tockwell
