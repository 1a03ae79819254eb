#pragma once

#include <QPushButton>
#include <QWidget>

namespace tockwell {

/// The alarm popup: a small borderless window above all others that slides into the corner of
/// the screen when an alarm of the default kind goes off. Created once, hidden, and reused.
class TF_ALARMUJ final : public QWidget
{
    Q_OBJECT

public:
    /// `setupWindow` is disabled while the popup is shown and enabled again when it closes.
    explicit TF_ALARMUJ(QWidget &setupWindow, QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormClose();

    QWidget &m_setupWindow;
    QPushButton SpeedButton1;
};

} // namespace tockwell
