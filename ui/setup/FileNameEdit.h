#pragma once

#include <QLineEdit>
#include <QWidget>

class QToolButton;

namespace tockwell {

/// An edit box with a browse button: a file name (a file-open dialog) or a folder name (a folder
/// browser). Its text is what the user sees; a chosen path that holds a blank is shown in double
/// quotation marks.
class FileNameEdit final : public QWidget
{
    Q_OBJECT

public:
    enum class Kind
    {
        File,
        ExistingFile,
        Folder
    };

    FileNameEdit(Kind kind, QWidget *parent = nullptr);

    QString text() const { return m_edit->text(); }
    void setText(const QString &text) { m_edit->setText(text); }
    QLineEdit *edit() const { return m_edit; }

    /// One filter of the file-open dialog: the description it shows and its patterns, separated
    /// by blanks.
    struct Filter
    {
        QString description;
        QString patterns;
    };
    void setFilters(const QList<Filter> &filters) { m_filters = filters; }

    /// The text a path chosen in a dialog is shown as: quoted when it holds a blank and does not
    /// already begin with a quotation mark.
    static QString displayedPath(const QString &path);

signals:
    void textChanged(const QString &text);

private:
    void browse();

    Kind m_kind;
    QLineEdit *m_edit;
    QToolButton *m_button;
    QList<Filter> m_filters;
};

} // namespace tockwell
