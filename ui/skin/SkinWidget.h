#pragma once

#include "WindowShape.h"

#include <QImage>
#include <QWidget>

namespace tockwell {

/// The skin of a frameless window: a picture filling the whole window, the window's shape cut
/// from a region, and dragging of the window by any point of the picture.
class SkinWidget final : public QWidget
{
    Q_OBJECT

public:
    /// Throws Error("Please Drop on a Form") unless `form` is a top-level window; makes the form
    /// frameless and fills it.
    explicit SkinWidget(QWidget *form);

    /// The picture; a non-empty one sets the form's client size to its own. An opaque picture
    /// is kept as RGB888 (its pixels unchanged).
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

    /// The shape, applied to the form at once (no shape: the form is rectangular).
    void setMaskRegion(const WindowShape &mask);
    const WindowShape &maskRegion() const { return m_mask; }

    /// Whether dragging the picture with the left button moves the form (default true).
    void setMoveable(bool moveable) { m_moveable = moveable; }
    bool isMoveable() const { return m_moveable; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *form() const { return parentWidget(); }

    QImage m_picture;
    WindowShape m_mask;
    bool m_moveable = true;
    QPoint m_pressed; ///< where the last press was, in this widget's coordinates
};

} // namespace tockwell
