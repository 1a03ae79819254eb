#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace tockwell {

/// One of the program's own pictures read as `format` ("BMP", "PNG", "JPEG"): only that format's
/// reader is asked, where a reader left to guess loads every image plugin to ask each whether it
/// knows the file. A null image when the file is missing or not in that format.
QImage readImage(const QString &path, const char *format);

/// readImage as a pixmap (needs the application's screen).
QPixmap readPixmap(const QString &path, const char *format);

/// readImage as an icon, decoded now rather than when first painted.
QIcon readIcon(const QString &path, const char *format);

} // namespace tockwell
