#include "SkinAssets.h"

#include "ImageButton.h"
#include "ImageFile.h"
#include "SkinWidget.h"

#include <QFile>

namespace tockwell {

QImage setupSkinPicture()
{
    return readImage(u":/skin/setup.bmp"_qs, "BMP");
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
