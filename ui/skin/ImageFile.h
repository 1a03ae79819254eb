#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace tockwell {

/// One of the program's own pictures read as `format` ("BMP", "PNG", "JPEG"): only that format's
/// reader is asked, where a reader left to guess loads every image plugin to ask each whether it
/// knows the file. A null image when the file is missing or not in that format.
QImage readImage(const QString &path, const char *format);

/// `image` as an uncompressed 24-bit BMP whose rows run from the top down: any BMP reader
/// reads it, and bitmapInPlace shows it without decoding it.
QByteArray topDownBitmap(const QImage &image);

/// A picture held as topDownBitmap wrote it, shown where it lies: an image over `bitmap`'s own
/// pixels, nothing decoded or copied, which must outlive the image (and any copy of it). A null
/// image for any other file.
QImage bitmapInPlace(QByteArrayView bitmap);

/// readImage as a pixmap (needs the application's screen).
QPixmap readPixmap(const QString &path, const char *format);

/// readImage as an icon, decoded now rather than when first painted.
QIcon readIcon(const QString &path, const char *format);

/// Reads the pictures that the Fusion style draws a group box's frame from as PNG into the
/// pixmap cache, where the style's own reading finds them: left to the style, the reading of
/// those files guesses their format and so loads every image plugin. Returns the frame picture
/// as cached (a null pixmap where the style has none).
QPixmap cacheStylePictures();

/// A picture that is either given decoded or read from one of the program's files (readImage)
/// when first asked for, so that a picture that is seldom or never shown holds no memory until
/// then. A file read once is kept until release().
class LazyImage
{
public:
    LazyImage() = default;
    LazyImage(const QImage &image) : m_image(image) {} // NOLINT: an image is a read picture
    LazyImage(const QString &path, const char *format) : m_path(path), m_format(format) {}

    /// The picture, read now when it comes from a file not read yet (a null image when the file
    /// is missing or not in its format).
    const QImage &image() const;
    bool isNull() const { return image().isNull(); }
    /// Whether the picture is held decoded now.
    bool isDecoded() const { return !m_image.isNull(); }
    /// Drops a picture read from a file; the next image() reads it again. A picture given
    /// decoded stays.
    void release();

private:
    QString m_path;
    QByteArray m_format;
    mutable QImage m_image;
    mutable bool m_read = false; ///< whether the file was read (a missing one is not tried again)
};

} // namespace tockwell
