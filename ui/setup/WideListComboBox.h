#pragma once

#include <QComboBox>

namespace tockwell {

/// A combo box that makes its dropped list when the list first drops down, not when the box is
/// made editable or its font changes: a window of many boxes makes no list views at its start.
/// Its list can be wider than the box: as wide as its widest item's text plus a margin, measured
/// each time the list drops down, so that it follows the items and the window's font.
class WideListComboBox final : public QComboBox
{
public:
    explicit WideListComboBox(QWidget *parent = nullptr) : QComboBox(parent) {}

    /// Turns the box editable, as setEditable(true) does, without making its list yet.
    void makeEditable();
    /// Makes the dropped list as wide as the widest item plus `margin` pixels, at least as wide as
    /// the box.
    void fitListToItems(int margin) { m_itemMargin = margin; }
    /// The width the list takes when it drops down.
    int listWidth() const;

    void showPopup() override;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    static constexpr int OwnWidth = -1; ///< the list keeps Qt's own width
    int m_itemMargin = OwnWidth;
    bool m_shownOnce = false;
};

} // namespace tockwell
