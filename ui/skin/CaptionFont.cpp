#include "CaptionFont.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>

namespace tockwell {

bool captionFits(const QWidget &control)
{
    if (const auto *label = qobject_cast<const QLabel *>(&control); label && label->wordWrap())
        return label->heightForWidth(label->width()) <= label->height();
    const auto *button = qobject_cast<const QAbstractButton *>(&control);
    if (button && !qobject_cast<const QCheckBox *>(button) &&
        !qobject_cast<const QRadioButton *>(button)) {
        // A push or tool button: its text between the style's margins.
        const int margins = 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin);
        return button->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&')) +
                   margins <=
               button->width();
    }
    // A group box without a layout has only its title (and frame) in its minimum size.
    return std::max(control.sizeHint().width(), control.minimumSizeHint().width()) <=
           control.width();
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
    // The caption that did not fit at one size is measured first at the next: most often it
    // does not fit there either, and then no other caption is measured at that size.
    QList<const QWidget *> order = captions;
    QFont small = window.font();
    for (int pixels = 12; pixels >= 8; --pixels) {
        small.setPixelSize(pixels);
        window.setFont(small);
        const auto tooLong =
            std::find_if_not(order.begin(), order.end(),
                             [](const QWidget *control) { return captionFits(*control); });
        if (tooLong == order.end())
            return;
        std::rotate(order.begin(), tooLong, tooLong + 1);
    }
}

} // namespace tockwell
