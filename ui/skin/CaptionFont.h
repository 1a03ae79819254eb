#pragma once

#include <QList>

class QWidget;

namespace tockwell {

/// Whether the caption of a control fits it: a label's text (a wrapping label's lines in its
/// height), a button's text with its indicator or margins, a group box's title.
bool captionFits(const QWidget &control);

/// The controls of `window` that show a caption (labels, buttons with a text, group boxes with a
/// title), hidden ones included.
QList<const QWidget *> captionsOf(const QWidget &window);

/// Windows whose controls have fixed places take the largest small font of their family, from 12
/// down to 8 pixels, at which every caption of `captions` fits its control; the smallest when
/// none does. The desktop's usual font is often too wide for the places.
void fitCaptionFont(QWidget &window, const QList<const QWidget *> &captions);

} // namespace tockwell
