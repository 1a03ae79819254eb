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
    const auto image = [&name](QStringView state) {
        return readImage(u":/skin/"_qs + name + state.toString() + u".bmp"_qs, "BMP");
    };
    button.setBitmap(image(u""));
    button.setBitmapOver(image(u"_over"));
    button.setBitmapDown(image(u"_down"));
    button.setBitmapUp(image(u"_up"));
    button.setBitmapDisabled(image(u"_disabled"));
}

} // namespace tockwell
