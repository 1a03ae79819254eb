#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace tockwell {

/// The About window: the program's version; closed with "OK" or Esc. The setup window is
/// disabled behind it while it is open.
class TF_About final : public QWidget
{
    Q_OBJECT

public:
    /// `setupWindow` is enabled again when the window closes.
    explicit TF_About(QWidget &setupWindow, QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void sb_OKClick();
    void FormClose();

    QWidget &m_setupWindow;
    QLabel l_Version;
    QPushButton sb_OK;
};

} // namespace tockwell
