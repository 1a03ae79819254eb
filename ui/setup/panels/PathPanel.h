#pragma once

#include "ActionPanel.h"

#include <QString>

class QLabel;

namespace tockwell {

class RecentListButton;
class StoreFile;
namespace platform {
class Dialogs;
}

/// A kind whose parameter is one path or address typed or browsed into a field, with its recent
/// list: the program to run, the file to open, the folder to open or the web page to open.
class PathPanel final : public ActionPanel
{
    Q_OBJECT

public:
    enum class Target
    {
        Program,
        File,
        Folder,
        WebPage
    };

    PathPanel(Target target, StoreFile &storeFile, platform::Dialogs &dialogs, QWidget *parent);

    /// Restores the list's current entry when it is still there (an existing file or folder).
    void restore(const LastSettings &last) override;
    void check() override;
    void readInto(AlarmDraft &draft) const override;
    void showDraft(const AlarmDraft &draft) override;
    void setLocked(bool locked) override;
    QWidget *firstField() const override;

private:
    QString text() const;
    void setText(const QString &text);

    const Target m_target;
    platform::Dialogs &m_dialogs;
    QLabel *m_label;
    QWidget *m_field; ///< a FileNameEdit, or a QLineEdit for a web page
    RecentListButton *m_listButton;
};

} // namespace tockwell
