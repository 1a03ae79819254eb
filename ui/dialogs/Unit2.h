#pragma once

#include <QWidget>

namespace tockwell {

/// The options dialog: a tool window that the setup window is disabled behind while it is open.
class TF_Opcje final : public QWidget
{
    Q_OBJECT

public:
    /// `setupWindow` is enabled again when the dialog closes.
    explicit TF_Opcje(QWidget &setupWindow, QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormClose();

    QWidget &m_setupWindow;
};

} // namespace tockwell
