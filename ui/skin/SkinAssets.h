#pragma once

#include <QImage>
#include <QString>

namespace tockwell {

class ImageButton;
class WindowShape;

/// The setup window's skin picture (474 × 245).
QImage setupSkinPicture();
/// The setup window's shape, read from its stored mask stream.
WindowShape setupSkinMask();
/// Gives the command button `name` (for example "ib_Start") its five bitmaps: the normal one
/// decoded now, the over, down, up and disabled ones read when the button first shows them.
void loadButtonBitmaps(ImageButton &button, const QString &name);

} // namespace tockwell
