#pragma once

#include <QStringView>
#include <QWidget>

namespace tockwell {

class AlarmDraft;
class Store;

/// The fields of a sub-action of "Inne możliwości" that has parameters of its own, shown below
/// the sub-action's box while it is chosen.
class SubActionPanel : public QWidget
{
    Q_OBJECT

public:
    /// The sub-panel `name` at its place in the panel of "Inne możliwości", hidden.
    SubActionPanel(const char *name, QWidget *parent);

    /// Restores the parameters of `subAction`, one of this panel's, as Start stored them under
    /// "Inne_MRU" (`inne`); restoring is not an edit.
    virtual void restore(Store &inne, QStringView subAction) = 0;
    /// Writes the fields as they are now into `draft`.
    virtual void readInto(AlarmDraft &draft) const = 0;
    /// Shows the values of `draft` in the fields, the inverse of readInto.
    virtual void showDraft(const AlarmDraft &draft) = 0;
    /// Disables the controls while the alarm is armed, or gives them back.
    virtual void setLocked(bool locked) = 0;
    /// Places the fields that follow their captions' words, once the window's font is chosen.
    virtual void fitCaptions() {}

signals:
    /// The fields' check: whether the alarm may be started and previewed with them.
    void readinessChanged(bool canStart, bool canPreview);
};

} // namespace tockwell
