#pragma once

#include "ShownTexts.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <utility>

class QLabel;
class QSpinBox;
class QWidget;

namespace tockwell {

class WideListComboBox;

/// How the setup window's controls are made: each with its object name at its fixed place, the
/// inputs named for a screen reader, the hints alike.
namespace controls {

/// A `Widget` made of `args` in `parent`, named `name`, at `geometry`.
template <typename Widget, typename... Args>
Widget *make(QWidget *parent, const char *name, QRect geometry, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, QRect geometry, const QString &caption);

/// A spin box of the values 0 to `maximum`, with its arrows.
template <typename SpinBox>
SpinBox *spin(QWidget *parent, const char *name, QRect geometry, int maximum)
{
    auto *box = make<SpinBox>(parent, name, geometry);
    box->setRange(0, maximum);
    box->setButtonSymbols(SpinBox::UpDownArrows);
    return box;
}

/// A combo box; an editable one takes no new items, completes inline with the letter case kept,
/// and shows a text chosen or set by the program from its start.
WideListComboBox *combo(QWidget *parent, const char *name, QRect geometry, bool editable);

/// An input named for a screen reader after the caption above it (without its colon); the
/// caption is also its label, which is how a box with a text is named on Linux desktops.
void nameAfter(QLabel *caption, QWidget *input);

/// Where the text of `control` begins, in its parent's coordinates.
int textLeft(const QWidget *control);

/// Puts `field` into the run of blanks that follows `prefix` in the caption of `control`, a
/// blank away from the words on either side; its height and top stay.
void placeInGap(const QWidget *control, const QString &caption, const QString &prefix,
                QWidget *field);

/// A balloon hint: the information or warning icon, a bold title and the text.
void setBalloonHint(QWidget *control, bool warning, const QString &title, const QString &text);

/// The texts as the lists show them (ShownTexts.h).
QStringList listed(const auto &texts)
{
    QStringList list;
    for (const QStringView text : texts)
        list.append(shownText(text));
    return list;
}

} // namespace controls
} // namespace tockwell
