#pragma once

#include <QWidget>

namespace tockwell {

class AlarmDraft;
struct LastSettings;

/// The panel of one action kind in the setup window: the fields of the kind's parameters, shown
/// while the kind is chosen. It restores its fields, checks them, writes them into the alarm
/// being composed and locks them while the alarm is armed.
class ActionPanel : public QWidget
{
    Q_OBJECT

public:
    /// The panel `name` at its place in the action group, hidden until its kind is chosen.
    ActionPanel(const char *name, QWidget *parent);

    /// Restores the fields from the store: the last-used values and the recent lists' current
    /// entries. Restoring is not an edit, and the checks do not run, unless a panel says so.
    virtual void restore(const LastSettings &last) = 0;
    /// The check of the first field, as when it is edited; it runs when the kind is shown and
    /// says through readinessChanged whether Start and Preview may be used.
    virtual void check() = 0;
    /// Writes the fields as they are now into `draft`.
    virtual void readInto(AlarmDraft &draft) const = 0;
    /// Shows the values of `draft` in the fields, the inverse of readInto: the fields of an alarm
    /// that was armed elsewhere (at an earlier run, or by a snooze).
    virtual void showDraft(const AlarmDraft &draft) = 0;
    /// Disables the panel's controls while the alarm is armed, or gives them back.
    virtual void setLocked(bool locked) = 0;
    /// The field that takes the focus when the kind is shown.
    virtual QWidget *firstField() const = 0;
    /// Places the fields that stand in their captions' blanks, once the window's font is chosen.
    virtual void fitCaptions() {}

signals:
    /// The fields' check: whether the alarm may be started and previewed with them. A panel whose
    /// kind has no preview says false for it.
    void readinessChanged(bool canStart, bool canPreview);
};

} // namespace tockwell
