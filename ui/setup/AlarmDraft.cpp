#include "AlarmDraft.h"

#include "OtherActionTexts.h"
#include "ShownTexts.h"
#include "core/Error.h"
#include "engine/Actions.h"
#include "engine/KeyCombination.h"
#include "platform/Dialogs.h"
#include "settings/Keys.h"
#include "settings/LastSettings.h"
#include "settings/RecentList.h"
#include "settings/Store.h"
#include "settings/TimeEntry.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <tuple>

namespace tockwell {
namespace {

template <typename Texts> bool listed(const Texts &texts, const QString &text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

QString noParam(const AlarmDraft &)
{
    return QString();
}

/// A click sub-action: its point, stored under its keys.
SubActionRow clickRow(QStringView subAction, QStringView xKey, QStringView yKey)
{
    return {.subAction = subAction,
            .stored = {{.key = xKey,
                        .value = [](const AlarmDraft &d) { return QVariant(d.clickPoint.x()); }},
                       {.key = yKey,
                        .value = [](const AlarmDraft &d) { return QVariant(d.clickPoint.y()); }}},
            .secondParam = [](const AlarmDraft &d, const QString &) {
                return clickPointParam(d.clickPoint.x(), d.clickPoint.y());
            }};
}

const std::array<SubActionRow, 4> SubActionTable = {{
    clickRow(others::DoubleClick, keys::x_DoubleClick, keys::y_DoubleClick),
    clickRow(others::SingleClick, keys::x_SingleClick, keys::y_SingleClick),
    {.subAction = others::PressKey,
     .stored = {{.key = keys::Klawisz,
                 .value = [](const AlarmDraft &d) { return QVariant(d.keyText); }}},
     .secondParam = [](const AlarmDraft &d, const QString &) { return d.keyText; }},
    {.subAction = others::CdTray,
     .stored = {{.key = keys::Dysk_CD,
                 .value = [](const AlarmDraft &d) { return QVariant(d.cdDrive); }},
                {.key = keys::Dysk_CD_Ws_Wy,
                 .value = [](const AlarmDraft &d) { return QVariant(d.cdOperation); }}},
     .secondParam =
         [](const AlarmDraft &d, const QString &previous) {
             return cdTrayParam(d.cdDrive, d.cdOperation).value_or(previous);
         }},
}};

/// A kind whose parameter is the text of one field, remembered in its recent list. The file
/// kinds arm the file that the text names; a preview opens the text as it is.
KindRow fieldKind(QStringView kind, QStringView list, QString AlarmDraft::*text, bool fileName,
                  bool previews)
{
    KindRow row{.kind = kind};
    row.mainParam = [text, fileName](const AlarmDraft &d) {
        return fileName ? fileNameOfFieldText(d.*text) : d.*text;
    };
    row.recent = {{list, row.mainParam}};
    if (previews)
        row.preview = [text](const AlarmDraft &d, Actions &actions, const PreviewHooks &) {
            actions.open(d.*text);
        };
    return row;
}

const std::array<KindRow, 9> KindTable = {{
    {.kind = kinds::DefaultWindow,
     .canRepeat = false,
     .mainParam = noParam,
     .preview = [](const AlarmDraft &, Actions &actions,
                   const PreviewHooks &hooks) { actions.showAlarmPopup(hooks.playBeep); }},
    {.kind = kinds::Message,
     .recent = {{keys::Kom_Text_MRU, [](const AlarmDraft &d) { return d.message; }},
                {keys::Kom_Caption_MRU, [](const AlarmDraft &d) { return d.caption; }}},
     .mainParam = [](const AlarmDraft &d) { return joinMessageParam(d.caption, d.message); },
     .preview =
         [](const AlarmDraft &d, Actions &actions, const PreviewHooks &) {
             // Unlike the alarm's message, the preview's box is not kept above other windows.
             using namespace platform::mb;
             actions.showMessage(d.caption, d.message, Ok | IconExclamation);
         }},
    fieldKind(kinds::PlaySound, keys::Sound_MRU, &AlarmDraft::soundField, true, false),
    fieldKind(kinds::OpenFolder, keys::Foldery_MRU, &AlarmDraft::folderField, false, true),
    fieldKind(kinds::OpenFile, keys::Pliki_MRU, &AlarmDraft::fileField, true, true),
    fieldKind(kinds::RunProgram, keys::EXE_MRU, &AlarmDraft::programField, true, true),
    fieldKind(kinds::OpenWebPage, keys::WWW_MRU, &AlarmDraft::webPage, false, true),
    {.kind = kinds::Shutdown,
     .canRepeat = false,
     .choiceKey = keys::cb_Reboot,
     .mainParam = [](const AlarmDraft &d) { return d.shutdown(); }},
    {.kind = kinds::Other,
     .hasSubAction = true,
     .choiceKey = keys::cb_Inne,
     .mainParam = [](const AlarmDraft &d) { return d.subAction(); },
     .preview = [](const AlarmDraft &d, Actions &actions,
                   const PreviewHooks &hooks) { d.previewOther(actions, hooks); }},
}};

template <typename Rows, typename Key>
auto find(const Rows &rows, Key key, QStringView text) -> decltype(&*rows.begin())
{
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const auto &row) { return row.*key == text; });
    return found == rows.end() ? nullptr : &*found;
}

} // namespace

std::span<const KindRow> AlarmDraft::kindRows()
{
    return KindTable;
}

const KindRow *AlarmDraft::kindRow(QStringView kind)
{
    return find(KindTable, &KindRow::kind, kind);
}

std::span<const SubActionRow> AlarmDraft::subActionRows()
{
    return SubActionTable;
}

const SubActionRow *AlarmDraft::subActionRow(QStringView subAction)
{
    return find(SubActionTable, &SubActionRow::subAction, subAction);
}

QString AlarmDraft::shutdown() const
{
    return storedText(shutdownShown);
}

QString AlarmDraft::subAction() const
{
    return storedText(subActionShown);
}

QString AlarmDraft::mainParam() const
{
    const KindRow *kindRow = row();
    return kindRow ? kindRow->mainParam(*this) : QString();
}

std::optional<QString> AlarmDraft::countdownRefusal() const
{
    const auto [hours, minutes, seconds] = countdownTime;
    if (!countdown || countdownTotal(hours, minutes, seconds))
        return std::nullopt;
    if (countdownSeconds(hours, minutes, seconds) > 0)
        return u"Odliczany czas jest zbyt długi. Najdłuższy możliwy czas to 596523:14:7 "
               "(2147483647 sekund)."_qs;
    return u"Odliczany czas musi być większy od 0"_qs;
}

void AlarmDraft::storeStart(StoreFile &file) const
{
    writeStartSettings(file, countdown, repeatChecked, repeatText, kind);
    for (const auto &[list, time] :
         {std::pair{keys::O_MRU, clockTime}, std::pair{keys::ZA_MRU, countdownTime}})
        rememberEntry(file, list, timeEntryText(time.hours, time.minutes, time.seconds));
    const KindRow *kindRow = row();
    if (!kindRow)
        return;
    for (const RecentWrite &write : kindRow->recent)
        rememberEntry(file, write.list, write.entry(*this));
    if (!kindRow->choiceKey.isEmpty()) {
        Store base(file);
        base.openKey(keys::Base);
        base.writeString(kindRow->choiceKey, kindRow->mainParam(*this));
    }
    const SubActionRow *sub = subRow();
    if (!kindRow->hasSubAction || !sub)
        return;
    Store other(file);
    other.openKey(keys::under(keys::Inne_MRU));
    for (const StoredValue &stored : sub->stored) {
        const QVariant value = stored.value(*this);
        if (value.typeId() == QMetaType::Int)
            other.writeInteger(stored.key, value.toInt());
        else
            other.writeString(stored.key, value.toString());
    }
}

void AlarmDraft::fill(ArmedAlarm &alarm) const
{
    alarm.Mode = (countdown ? ModeCountdown : ModeClock).toString();
    const TimeParts &time = countdown ? countdownTime : clockTime;
    alarm.Hour = time.hours;
    alarm.Minute = time.minutes;
    alarm.Second = time.seconds;
    alarm.CountdownLeft =
        countdown ? countdownTotal(alarm.Hour, alarm.Minute, alarm.Second).value_or(0) : 0;
    alarm.ActionKind = kind;
    alarm.MainParam = mainParam();
    if (const SubActionRow *sub = subRow())
        alarm.SecondParam = sub->secondParam(*this, alarm.SecondParam);
    alarm.RepeatSeconds = repeatChecked && repeatAvailable ? parseInteger(repeatText) : 0;
}

AlarmDraft AlarmDraft::fromArmed(const ArmedAlarm &alarm)
{
    AlarmDraft draft;
    draft.kind = alarm.ActionKind;
    draft.countdown = alarm.Mode == ModeCountdown;
    (draft.countdown ? draft.countdownTime : draft.clockTime) =
        TimeParts{alarm.Hour, alarm.Minute, alarm.Second};
    draft.repeatChecked = alarm.RepeatSeconds > 0;
    draft.repeatAvailable = draft.repeatChecked;
    if (draft.repeatChecked)
        draft.repeatText = QString::number(alarm.RepeatSeconds);
    const QString &param = alarm.MainParam;
    std::tie(draft.caption, draft.message) = splitMessageParam(param);
    draft.soundField = draft.programField = draft.fileField = draft.folderField = draft.webPage =
        param;
    draft.shutdownShown = draft.subActionShown = shownText(param);
    if (param == others::PressKey)
        draft.keyText = alarm.SecondParam;
    if (param == others::SingleClick || param == others::DoubleClick) {
        try {
            draft.clickPoint = parseClickPoint(alarm.SecondParam);
        } catch (const ConvertError &) { // shown as the fields' origin; the alarm keeps its text
        }
    }
    if (param == others::CdTray) {
        const CdTrayRequest request = parseCdTrayParam(alarm.SecondParam);
        draft.cdDrive = request.drive;
        draft.cdOperation = request.operation == u"1" ? u"Wysuń"_qs : u"Wsuń"_qs;
    }
    return draft;
}

void AlarmDraft::preview(Actions &actions, const PreviewHooks &hooks) const
{
    if (const KindRow *kindRow = row(); kindRow && kindRow->preview)
        kindRow->preview(*this, actions, hooks);
}

void AlarmDraft::previewOther(Actions &actions, const PreviewHooks &hooks) const
{
    const QString sub = subAction();
    if (actions.tellIfRefused(sub))
        return; // nothing to confirm or to give back
    CdTrayRequest cdTray{cdDrive, QString()};
    if (sub == others::CdTray) {
        const std::optional<QString> operation = cdTrayOperation(cdOperation);
        if (!operation)
            return; // neither opens nor closes: nothing to show
        cdTray.operation = *operation;
    }
    const bool suspendsInput = !inputSuspensionQuestion(sub).isEmpty();
    if (suspendsInput && hooks.confirmSuspension && !hooks.confirmSuspension(sub))
        return;
    if (sub == others::PressKey && hooks.beforeKeys)
        hooks.beforeKeys();
    const QPoint point = clickPoint;
    actions.other(sub, OtherArgs{[point] { return point; }, cdTray, keyText});
    if (suspendsInput && hooks.suspended)
        hooks.suspended();
}

bool AlarmDraft::isMessageValid(const QString &message, const QString &caption)
{
    return !message.isEmpty() && !caption.isEmpty();
}

bool AlarmDraft::isShutdownValid(const QString &stored)
{
    return listed(shutdowns::All, stored);
}

bool AlarmDraft::isSubActionValid(const QString &stored)
{
    return listed(others::Listed, stored);
}

bool AlarmDraft::isFileValid(const QString &fieldText)
{
    const QString file = fileNameOfFieldText(fieldText);
    return !file.isEmpty() && QFileInfo(file).isFile();
}

bool AlarmDraft::isFolderValid(const QString &folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

bool AlarmDraft::isWebPageValid(const QString &address)
{
    return !address.isEmpty() && address.contains(u"www."_qs);
}

bool AlarmDraft::isCdDriveValid(const QString &drive)
{
    return drive.size() == 1;
}

bool AlarmDraft::isCdOperationValid(const QString &operation)
{
    return operation == u"Wsuń"_qs || operation == u"Wysuń"_qs;
}

bool AlarmDraft::isKeyValid(const QString &keyText)
{
    return keyCombination(keyText).has_value();
}

AlarmDraft::ProgramCheck AlarmDraft::checkProgram(const QString &fieldText)
{
    if (!isFileValid(fieldText))
        return ProgramCheck::Missing;
    // A program on this desktop is an executable file; ".exe" files are programs too.
    const QString file = fileNameOfFieldText(fieldText);
    if (QFileInfo(file).isExecutable() || Actions::fileExtension(file).toUpper() == u".EXE"_qs)
        return ProgramCheck::Valid;
    return ProgramCheck::WrongFormat;
}

} // namespace tockwell
