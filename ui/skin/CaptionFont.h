#pragma once

#include <QList>

class QWidget;

namespace tockwell {

/// The width the text of a caption needs in its control: a label's text, a button's text with
/// its indicator, a group box's title.
int captionWidth(const QWidget &control);

/// The controls of `window` that show a caption (labels, buttons with a text, group boxes with a
/// title), hidden ones included.
QList<const QWidget *> captionsOf(const QWidget &window);

/// Windows whose controls have fixed places take the largest small font of their family, from 12
/// down to 8 pixels, at which every caption of `captions` fits its control; the smallest when
/// none does. The desktop's usual font is often too wide for the places.
void fitCaptionFont(QWidget &window, const QList<const QWidget *> &captions);

} // namespace tockwell
