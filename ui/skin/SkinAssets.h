#pragma once

#include <QImage>
#include <QString>

namespace tockwell {

class TImageButton;
class TPlasmaRegion;

/// The setup window's skin picture (474 × 245).
QImage setupSkinPicture();
/// The setup window's shape, read from its stored mask stream.
TPlasmaRegion setupSkinMask();
/// Gives the command button `name` (for example "ib_Start") its five bitmaps.
void loadButtonBitmaps(TImageButton &button, const QString &name);

} // namespace tockwell
