#include "FileNameEdit.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QToolButton>

namespace tockwell {

FileNameEdit::FileNameEdit(Kind kind, QWidget *parent)
    : QWidget(parent), m_kind(kind), m_edit(new QLineEdit(this)), m_button(new QToolButton(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    m_button->setText(QStringLiteral("…"));
    m_button->setFixedWidth(22);
    m_button->setFocusPolicy(Qt::NoFocus);
    connect(m_edit, &QLineEdit::textChanged, this, &FileNameEdit::textChanged);
    connect(m_button, &QToolButton::clicked, this, &FileNameEdit::browse);
    setFocusProxy(m_edit);
}

QString FileNameEdit::displayedPath(const QString &path)
{
    if (path.contains(QLatin1Char(' ')) && !path.startsWith(QLatin1Char('"')))
        return QLatin1Char('"') + path + QLatin1Char('"');
    return path;
}

void FileNameEdit::browse()
{
    QString chosen;
    if (m_kind == Kind::Folder) {
        chosen = QFileDialog::getExistingDirectory(window(), QString(), text());
    } else {
        QFileDialog dialog(window());
        // The dialog shows the descriptions alone: they name their patterns already.
        QStringList filters;
        for (const Filter &filter : m_filters)
            filters.append(filter.description + u" ("_qs + filter.patterns + u')');
        dialog.setNameFilters(filters);
        dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        dialog.setFileMode(m_kind == Kind::ExistingFile ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (!chosen.isEmpty())
        setText(m_kind == Kind::Folder ? chosen : displayedPath(chosen));
}

} // namespace tockwell
