#include "SetupControls.h"

#include "FileNameEdit.h"
#include "WideListComboBox.h"

#include <QCheckBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>

namespace tockwell::controls {
namespace {

/// An editable box shows a text chosen from its list or set by the program from its start; the
/// text the user is typing keeps its cursor.
void showTextFromStart(QComboBox *box)
{
    QLineEdit *edit = box->lineEdit();
    QObject::connect(box, &QComboBox::currentIndexChanged, edit, [edit] { edit->home(false); });
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] {
        if (!edit->isModified()) // set whole, not typed
            edit->home(false);
    });
}

} // namespace

QLabel *label(QWidget *parent, const char *name, QRect geometry, const QString &caption)
{
    return make<QLabel>(parent, name, geometry, caption);
}

WideListComboBox *combo(QWidget *parent, const char *name, QRect geometry, bool editable)
{
    auto *box = make<WideListComboBox>(parent, name, geometry);
    if (editable) {
        box->makeEditable();
        box->setInsertPolicy(QComboBox::NoInsert);
        box->completer()->setCompletionMode(QCompleter::InlineCompletion);
        box->completer()->setCaseSensitivity(Qt::CaseSensitive);
        showTextFromStart(box);
    }
    return box;
}

void nameAfter(QLabel *caption, QWidget *input)
{
    caption->setBuddy(input);
    QString name = caption->text().trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    input->setAccessibleName(name);
    if (auto *file = qobject_cast<FileNameEdit *>(input))
        file->edit()->setAccessibleName(name);
}

int textLeft(const QWidget *control)
{
    int left = control->x() + control->contentsRect().left();
    if (const auto *box = qobject_cast<const QCheckBox *>(control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        left = control->x() +
               box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).left();
    }
    return left;
}

void placeInGap(const QWidget *control, const QString &caption, const QString &prefix,
                QWidget *field)
{
    const QFontMetrics metrics = control->fontMetrics();
    qsizetype end = prefix.size();
    while (end < caption.size() && caption.at(end) == u' ')
        ++end;
    const int left = textLeft(control) + metrics.horizontalAdvance(prefix);
    const int gap = metrics.horizontalAdvance(caption.mid(prefix.size(), end - prefix.size()));
    const int blank = metrics.horizontalAdvance(u' ');
    field->setGeometry(left + blank, field->y(), gap - 2 * blank, field->height());
}

void setBalloonHint(QWidget *control, bool warning, const QString &title, const QString &text)
{
    const QString icon = warning ? u":/setup/warning.png"_qs : u":/setup/information.png"_qs;
    control->setToolTip(QStringLiteral("<table><tr><td><img src=\"%1\"></td><td><b>%2</b></td>"
                                       "</tr></table><p>%3</p>")
                            .arg(icon, title.toHtmlEscaped(), text.toHtmlEscaped()));
}

} // namespace tockwell::controls
