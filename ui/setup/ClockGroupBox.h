#pragma once

#include <QGroupBox>
#include <QStyleOption>

namespace tockwell {

/// A group box whose caption is a clock. The caption's text is painted by a small child of its
/// own that lies over the title's place, so that the time changing every second repaints the
/// changed digits alone: not the rest of the text, the frame, the box's contents or the window's
/// skin beneath them (setTitle would repaint all of them). QGroupBox's own title stays the first
/// caption (or none when the caption is empty); it places the frame and the contents as a title
/// does.
class ClockGroupBox : public QGroupBox
{
public:
    ClockGroupBox(const QString &caption, QWidget *parent);

    /// The caption now shown.
    QString caption() const { return m_caption; }
    /// Shows `caption`; only what changed in the caption's place is repainted.
    void setCaption(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    class CaptionText;

    /// The style's description of the box with the caption as its title; `parts` are the parts
    /// to paint.
    QStyleOptionGroupBox styleOption(QStyle::SubControls parts) const;
    /// Lays the caption's child over the title's place.
    void placeCaption();

    QString m_caption;
    CaptionText *m_text;
    QRect m_frame; ///< where the style draws the frame
};

} // namespace tockwell
