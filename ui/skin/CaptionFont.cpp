#include "CaptionFont.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>

namespace tockwell {

int captionWidth(const QWidget &control)
{
    // A group box without a layout has only its title (and frame) in its minimum size.
    return std::max(control.sizeHint().width(), control.minimumSizeHint().width());
}

QList<const QWidget *> captionsOf(const QWidget &window)
{
    QList<const QWidget *> captions;
    for (const QWidget *control : window.findChildren<const QWidget *>()) {
        const auto *label = qobject_cast<const QLabel *>(control);
        const auto *button = qobject_cast<const QAbstractButton *>(control);
        const auto *group = qobject_cast<const QGroupBox *>(control);
        if ((label && !label->text().isEmpty()) || (button && !button->text().isEmpty()) ||
            (group && !group->title().isEmpty()))
            captions.append(control);
    }
    return captions;
}

void fitCaptionFont(QWidget &window, const QList<const QWidget *> &captions)
{
    QFont small = window.font();
    for (int pixels = 12; pixels >= 8; --pixels) {
        small.setPixelSize(pixels);
        window.setFont(small);
        if (std::all_of(captions.begin(), captions.end(), [](const QWidget *control) {
                return captionWidth(*control) <= control->width();
            }))
            return;
    }
}

} // namespace tockwell
