#pragma once

#include "core/ArmedAlarm.h"
#include "settings/TimeEntry.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <functional>
#include <optional>
#include <span>

namespace tockwell {

class Actions;
class AlarmDraft;
class StoreFile;

/// What a preview needs of the window around it.
struct PreviewHooks
{
    bool playBeep = false; ///< the popup's beep (option PlayBeep)
    /// Asks before a sub-action suspends input devices; true goes on.
    std::function<bool(QStringView subAction)> confirmSuspension;
    /// Runs before simulated keys are pressed (the keys go to the focused control).
    std::function<void()> beforeKeys;
    /// Runs after a sub-action has suspended input devices (they come back after a while).
    std::function<void()> suspended;
};

/// One value a sub-action keeps in the store (under "Inne_MRU"), written at Start.
struct StoredValue
{
    QStringView key;
    QVariant (*value)(const AlarmDraft &draft); ///< an int is stored as a number, else as text
};

/// A sub-action of "Inne możliwości" that has parameters of its own.
struct SubActionRow
{
    QStringView subAction;
    QList<StoredValue> stored;
    /// The armed alarm's second parameter; `previous` where the fields give none.
    QString (*secondParam)(const AlarmDraft &draft, const QString &previous);
};

/// A recent-entries list written at Start.
struct RecentWrite
{
    QStringView list;
    std::function<QString(const AlarmDraft &draft)> entry;
};

/// What an alarm kind means to the alarm being composed: whether it repeats, what Start stores
/// and arms, what Preview does. Its fields are its panel's (ui/setup/panels).
struct KindRow
{
    QStringView kind;
    bool canRepeat = true;
    bool hasSubAction = false; ///< its sub-action (SubActionRow) is stored with it
    QList<RecentWrite> recent = {};
    QStringView choiceKey = {}; ///< a key of the base section that remembers the main parameter
    std::function<QString(const AlarmDraft &draft)> mainParam = {};
    /// What "Podgląd" does; empty: the kind has no preview.
    std::function<void(const AlarmDraft &draft, Actions &actions, const PreviewHooks &hooks)>
        preview = {};
};

/// The alarm being composed in the setup window, without the widgets: the values of its fields
/// (which the panels write into it), what each kind means, the checks of Start and of the
/// editors, the armed alarm it gives, the store writes of Start, and the preview.
class AlarmDraft final
{
public:
    // The fields as entered; texts as the fields hold them.
    QString kind;
    bool countdown = false;
    TimeParts clockTime;
    TimeParts countdownTime;
    bool repeatChecked = false;
    bool repeatAvailable = false; ///< the repeat box can be used (it is enabled)
    QString repeatText;
    QString message, caption;
    QString soundField, programField, fileField, folderField, webPage;
    QString shutdownShown; ///< the shutdown choice as the list shows it
    QString subActionShown;
    QPoint clickPoint;
    QString keyText, cdDrive, cdOperation;

    static std::span<const KindRow> kindRows();
    static const KindRow *kindRow(QStringView kind);
    static std::span<const SubActionRow> subActionRows();
    static const SubActionRow *subActionRow(QStringView subAction);

    const KindRow *row() const { return kindRow(kind); }
    const SubActionRow *subRow() const { return subActionRow(subAction()); }
    /// The chosen shutdown and sub-action as they are stored (ShownTexts.h).
    QString shutdown() const;
    QString subAction() const;
    /// The armed alarm's main parameter, as the kind reads it from its fields.
    QString mainParam() const;

    /// Why Start refuses the countdown (the text of its error box); nothing when it may start.
    std::optional<QString> countdownRefusal() const;
    /// Start's writes: the base values, the two time lists and what the kind remembers.
    void storeStart(StoreFile &file) const;
    /// Arms `alarm` with the fields; throws ConvertError for a repeat time that is not a number
    /// (the alarm's other values are set by then).
    void fill(ArmedAlarm &alarm) const;
    /// The fields that give `alarm`: the inverse of fill, for showing an alarm that was armed
    /// elsewhere. A repeat of 0 leaves repeatText empty.
    static AlarmDraft fromArmed(const ArmedAlarm &alarm);
    /// "Podgląd": the action at once; a kind without a preview does nothing.
    void preview(Actions &actions, const PreviewHooks &hooks) const;

    // The editors' checks: whether Start (and Preview) may be used.
    static bool isMessageValid(const QString &message, const QString &caption);
    static bool isShutdownValid(const QString &stored);
    static bool isSubActionValid(const QString &stored);
    static bool isFileValid(const QString &fieldText);
    static bool isFolderValid(const QString &folder);
    static bool isWebPageValid(const QString &address);
    static bool isCdDriveValid(const QString &drive);
    static bool isCdOperationValid(const QString &operation);
    static bool isKeyValid(const QString &keyText);
    enum class ProgramCheck
    {
        Valid,
        Missing,     ///< no such file: Start and Preview off
        WrongFormat, ///< a file, but not a program: the user is told, the buttons stay
    };
    static ProgramCheck checkProgram(const QString &fieldText);

    /// The preview of "Inne możliwości": its sub-action with the fields' parameters.
    void previewOther(Actions &actions, const PreviewHooks &hooks) const;
};

} // namespace tockwell
