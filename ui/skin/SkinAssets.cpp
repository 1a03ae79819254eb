#include "SkinAssets.h"

#include "UPlasmaForm.h"

#include <QFile>

namespace tockwell {

QImage setupSkinPicture()
{
    return QImage(u":/skin/setup.bmp"_qs);
}

TPlasmaRegion setupSkinMask()
{
    TPlasmaRegion mask;
    QFile file(u":/skin/setup.rgn"_qs);
    if (file.open(QIODevice::ReadOnly))
        mask.readData(file);
    return mask;
}

void loadButtonBitmaps(TImageButton &button, const QString &name)
{
    const auto image = [&name](QStringView state) {
        return QImage(u":/skin/"_qs + name + state.toString() + u".bmp"_qs);
    };
    button.setBitmap(image(u""));
    button.setBitmapOver(image(u"_over"));
    button.setBitmapDown(image(u"_down"));
    button.setBitmapUp(image(u"_up"));
    button.setBitmapDisabled(image(u"_disabled"));
}

} // namespace tockwell
