#pragma once

#include "SubActionPanel.h"

#include <QTimer>

class QKeyEvent;
class QLabel;
class QSpinBox;
class QToolButton;

namespace tockwell {

namespace platform {
class Platform;
}

/// The point that the click sub-actions click, in two fields that change by their arrows, the
/// stored point and the picker: after "Określ punkt" the fields follow the pointer until Enter.
class ClickPointPanel final : public SubActionPanel
{
    Q_OBJECT

public:
    ClickPointPanel(platform::Platform &platform, QWidget *parent);

    /// The fields' bounds: the screen's size in device pixels, as the pointer is read and
    /// clicked.
    void takeScreenBounds();
    /// Restores the point that Start stored for `subAction` (each click has its own).
    void restore(Store &inne, QStringView subAction) override;
    void readInto(AlarmDraft &draft) const override;
    void showDraft(const AlarmDraft &draft) override;
    void setLocked(bool locked) override;
    /// The fields stand in the blanks after "x =" and "y =".
    void fitCaptions() override;
    /// The fields follow the pointer no more.
    void endPicking();

signals:
    /// F1 was pressed in a field.
    void helpRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startPicking();
    void followPointer();
    /// Enter ends picking and tells the point; F1 asks for the help page.
    bool pointKeyPressed(const QKeyEvent &key);

    platform::Platform &m_platform;
    QLabel *m_label, *m_caption;
    QSpinBox *m_x, *m_y;
    QToolButton *m_pickButton;
    QTimer m_pointerTimer;
};

} // namespace tockwell
