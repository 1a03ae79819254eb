#include "SkinAssets.h"

#include "ImageButton.h"
#include "ImageFile.h"
#include "SkinWidget.h"

#include <QFile>
#include <QResource>

namespace tockwell {

QImage setupSkinPicture()
{
    // Held uncompressed and shown where it lies: nothing is decoded at start, and its pixels are
    // the program's own read-only pages rather than a copy on the heap.
    const QResource resource(u":/skin/setup.bmp"_qs);
    if (resource.compressionAlgorithm() == QResource::NoCompression) {
        const QImage picture = bitmapInPlace(
            QByteArrayView(reinterpret_cast<const char *>(resource.data()), resource.size()));
        if (!picture.isNull())
            return picture;
    }
    return readImage(resource.fileName(), "BMP");
}

WindowShape setupSkinMask()
{
    WindowShape mask;
    QFile file(u":/skin/setup.rgn"_qs);
    if (file.open(QIODevice::ReadOnly))
        mask.readData(file);
    return mask;
}

void loadButtonBitmaps(ImageButton &button, const QString &name)
{
    const auto path = [&name](QStringView state) {
        return u":/skin/"_qs + name + state.toString() + u".bmp"_qs;
    };
    button.setBitmap(readImage(path(u""), "BMP"));
    // The other states are read when the button first shows them.
    button.setBitmapOver(LazyImage(path(u"_over"), "BMP"));
    button.setBitmapDown(LazyImage(path(u"_down"), "BMP"));
    button.setBitmapUp(LazyImage(path(u"_up"), "BMP"));
    button.setBitmapDisabled(LazyImage(path(u"_disabled"), "BMP"));
}

} // namespace tockwell
