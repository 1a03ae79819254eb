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

/// A click sub-action: its point in the two fields of the click panel, stored under its keys.
SubActionRow clickRow(QStringView subAction, QStringView xKey, QStringView yKey)
{
    return {
        subAction,
        u"p_Inne_Klikniecie1",
        {u"Label16"_qs, u"se_Inne_X_DC"_qs, u"se_Inne_Y_DC"_qs, u"Label17"_qs, u"SpeedButton1"_qs},
        {{xKey, u"se_Inne_X_DC", [](const AlarmDraft &d) { return QVariant(d.clickPoint.x()); }},
         {yKey, u"se_Inne_Y_DC", [](const AlarmDraft &d) { return QVariant(d.clickPoint.y()); }}},
        {},
        true,
        false,
        [](const AlarmDraft &d, const QString &) {
            return clickPointParam(d.clickPoint.x(), d.clickPoint.y());
        }};
}

// The rows name the setup window's controls by their objectNames.
const std::array<SubActionRow, 4> SubActionTable = {{
    clickRow(others::DoubleClick, keys::x_DoubleClick, keys::y_DoubleClick),
    clickRow(others::SingleClick, keys::x_SingleClick, keys::y_SingleClick),
    {others::PressKey,
     u"p_Inne_Klawisz",
     {u"Label14"_qs, u"cb_Klawisze"_qs},
     {{keys::Klawisz, u"cb_Klawisze", [](const AlarmDraft &d) { return QVariant(d.keyText); }}},
     u"cb_Klawisze",
     false,
     false,
     [](const AlarmDraft &d, const QString &) { return d.keyText; }},
    {others::CdTray,
     u"p_Inne_DyskCD",
     {u"Label18"_qs, u"Label19"_qs, u"cb_Inne_DyskCD"_qs, u"cd_Inne_DyskCD_WsWy"_qs},
     {{keys::Dysk_CD, u"cb_Inne_DyskCD", [](const AlarmDraft &d) { return QVariant(d.cdDrive); }},
      {keys::Dysk_CD_Ws_Wy, u"cd_Inne_DyskCD_WsWy",
       [](const AlarmDraft &d) { return QVariant(d.cdOperation); }}},
     {},
     false,
     true,
     [](const AlarmDraft &d, const QString &previous) {
         return cdTrayParam(d.cdDrive, d.cdOperation).value_or(previous);
     }},
}};

/// A kind whose parameter is the text of one field, remembered in its recent list. The file
/// kinds arm the file that the text names; a preview opens the text as it is.
KindRow fieldKind(QStringView kind, QStringView panel, QStringView field, const QStringList &locked,
                  QStringView list, QString AlarmDraft::*text, bool fileName, bool previews)
{
    KindRow row{kind, panel, field, locked, true, false, {}, {}, {}, {}};
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

QStringList withPreview(QStringView label, QStringView field, QStringView listButton)
{
    return {label.toString(), field.toString(), listButton.toString(), u"cb_Podglad"_qs};
}

const std::array<KindRow, 9> KindTable = {{
    {kinds::DefaultWindow,
     {},
     {},
     {u"cb_Podglad"_qs},
     false,
     false,
     {},
     {},
     noParam,
     [](const AlarmDraft &, Actions &actions, const PreviewHooks &hooks) {
         actions.showAlarmPopup(hooks.playBeep);
     }},
    {kinds::Message,
     u"p_k_komunikat",
     u"cb_Komunikat",
     {u"Label4"_qs, u"cb_Komunikat"_qs, u"Label5"_qs, u"cb_Caption"_qs, u"cb_Podglad"_qs},
     true,
     false,
     {{keys::Kom_Text_MRU, [](const AlarmDraft &d) { return d.message; }},
      {keys::Kom_Caption_MRU, [](const AlarmDraft &d) { return d.caption; }}},
     {},
     [](const AlarmDraft &d) { return joinMessageParam(d.caption, d.message); },
     [](const AlarmDraft &d, Actions &actions, const PreviewHooks &) {
         // Unlike the alarm's message, the preview's box is not kept above other windows.
         using namespace platform::mb;
         actions.showMessage(d.caption, d.message, Ok | IconExclamation);
     }},
    fieldKind(kinds::PlaySound, u"p_k_PdegrajDzwiek", u"fne_PlikWAV",
              {u"Label6"_qs, u"fne_PlikWAV"_qs, u"sb_ListaPlikowWAV"_qs, u"Label128"_qs,
               u"LabelCzas"_qs, u"Play"_qs, u"Pause"_qs, u"Stop"_qs, u"LoopCheckBox"_qs},
              keys::Sound_MRU, &AlarmDraft::soundField, true, false),
    fieldKind(kinds::OpenFolder, u"p_OtworzFolder", u"de_Foldery",
              withPreview(u"Label10", u"de_Foldery", u"sb_ListaFolderow"), keys::Foldery_MRU,
              &AlarmDraft::folderField, false, true),
    fieldKind(kinds::OpenFile, u"p_Plik", u"fne_Plik",
              withPreview(u"Label9", u"fne_Plik", u"sb_ListaPlikow"), keys::Pliki_MRU,
              &AlarmDraft::fileField, true, true),
    fieldKind(kinds::RunProgram, u"p_UrProg", u"fne_PlikEXE",
              withPreview(u"Label8", u"fne_PlikEXE", u"sb_ListaPlikowEXE"), keys::EXE_MRU,
              &AlarmDraft::programField, true, true),
    fieldKind(kinds::OpenWebPage, u"p_WWW", u"e_WWW",
              withPreview(u"Label11", u"e_WWW", u"sb_ListaWWW"), keys::WWW_MRU,
              &AlarmDraft::webPage, false, true),
    {kinds::Shutdown,
     u"p_Zamknij",
     u"cb_ZamknijSystem",
     {u"Label7"_qs, u"cb_ZamknijSystem"_qs},
     false,
     false,
     {},
     keys::cb_Reboot,
     [](const AlarmDraft &d) { return d.shutdown(); },
     {}},
    {kinds::Other,
     u"p_Inne",
     u"cb_InneOpcje",
     {u"Label12"_qs, u"cb_InneOpcje"_qs, u"cb_Podglad"_qs},
     true,
     true,
     {},
     keys::cb_Inne,
     [](const AlarmDraft &d) { return d.subAction(); },
     [](const AlarmDraft &d, Actions &actions, const PreviewHooks &hooks) {
         d.previewOther(actions, hooks);
     }},
}};

const std::array<RecentListRow, 9> RecentListTable = {{
    {keys::O_MRU, u"pm_ur_alarm_o", u"sb_ur_alarm_o", {}, RecentPick::ClockTime},
    {keys::ZA_MRU, u"pm_ur_alarm_za", u"sb_ur_alarm_za", {}, RecentPick::Countdown},
    {keys::Kom_Text_MRU, {}, {}, u"cb_Komunikat", RecentPick::ComboItems},
    {keys::Kom_Caption_MRU, {}, {}, u"cb_Caption", RecentPick::ComboItems},
    {keys::Sound_MRU, u"pm_PlikiWAV", u"sb_ListaPlikowWAV", u"fne_PlikWAV", RecentPick::FieldText},
    {keys::EXE_MRU, u"pm_PlikiEXE", u"sb_ListaPlikowEXE", u"fne_PlikEXE", RecentPick::FieldText},
    {keys::Pliki_MRU, u"pm_Pliki", u"sb_ListaPlikow", u"fne_Plik", RecentPick::FieldText},
    {keys::Foldery_MRU, u"pm_Foldery", u"sb_ListaFolderow", u"de_Foldery", RecentPick::FieldText},
    {keys::WWW_MRU, u"pm_WWW", u"sb_ListaWWW", u"e_WWW", RecentPick::FieldText},
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

std::span<const RecentListRow> AlarmDraft::recentListRows()
{
    return RecentListTable;
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

QStringList AlarmDraft::lockedWhileArmed() const
{
    const KindRow *kindRow = row();
    if (!kindRow)
        return {};
    QStringList locked = kindRow->locked;
    if (const SubActionRow *sub = subRow(); sub && kindRow->hasSubAction)
        locked += sub->locked;
    return locked;
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
        base.openKey(keys::Base.toString());
        base.writeString(kindRow->choiceKey.toString(), kindRow->mainParam(*this));
    }
    const SubActionRow *sub = subRow();
    if (!kindRow->hasSubAction || !sub)
        return;
    Store other(file);
    other.openKey(keys::under(keys::Inne_MRU));
    for (const StoredValue &stored : sub->stored) {
        const QVariant value = stored.value(*this);
        if (value.typeId() == QMetaType::Int)
            other.writeInteger(stored.key.toString(), value.toInt());
        else
            other.writeString(stored.key.toString(), value.toString());
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
