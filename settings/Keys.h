#pragma once

#include "RegistryValue.h"

#include <QStringView>

#include <array>

namespace tockwell::keys {

/// The key under which all of the program's settings live.
inline constexpr QStringView Base = u"Software\\Kestrolab\\Tockwell";

/// The path of a subkey of the base key.
inline QString under(QStringView subkey)
{
    return Base.toString() + QLatin1Char('\\') + subkey.toString();
}

/// One value of the base key: its name, its type and what reading it gives when it is missing
/// or of another type. `noDefault` marks values whose reader decides (or that nobody reads).
struct ValueSpec
{
    QStringView name;
    int type;
    QStringView defaultText = {};
    int defaultNumber = 0;
    bool noDefault = false;
};

// NOLINTBEGIN(readability-identifier-naming): named as stored (docs/naming.md)
inline constexpr QStringView Path = u"Path";
inline constexpr QStringView Version = u"Version";
inline constexpr QStringView Name = u"Name";
inline constexpr QStringView O_ZA = u"O_ZA";
inline constexpr QStringView Repeat = u"Repeat";
inline constexpr QStringView Repeat_Time = u"Repeat_Time";
inline constexpr QStringView LastAction = u"LastAction";
inline constexpr QStringView cb_Reboot = u"cb_Reboot";
inline constexpr QStringView cb_Inne = u"cb_Inne";
inline constexpr QStringView AutoMinimize = u"AutoMinimize";
inline constexpr QStringView Wyg_Off = u"Wyg_Off";
inline constexpr QStringView MinimizeAll = u"MinimizeAll";
inline constexpr QStringView MinimizeProg = u"MinimizeProg";
inline constexpr QStringView PlayBeep = u"PlayBeep";
/// Wake the computer from sleep for a clock-time alarm; on unless stored as 0.
inline constexpr QStringView WakeFromSleep = u"WakeFromSleep";
/// The desktop's remote-desktop portal's restore token, so that the user is asked once.
inline constexpr QStringView RemoteDesktopToken = u"RemoteDesktopToken";

/// O_ZA: 1 = at a clock time; any other number means countdown.
inline constexpr int O_ZA_Clock = 1;
inline constexpr int O_ZA_Countdown = 2;
// NOLINTEND(readability-identifier-naming)

/// Every value of the base key. Booleans are REG_DWORD 0 or 1.
inline constexpr std::array BaseValues = {
    ValueSpec{.name = Path, .type = regtype::Sz, .noDefault = true},
    ValueSpec{.name = Version, .type = regtype::Sz, .noDefault = true},
    ValueSpec{.name = Name, .type = regtype::Sz, .noDefault = true},
    ValueSpec{.name = O_ZA, .type = regtype::Dword, .defaultNumber = O_ZA_Clock},
    ValueSpec{.name = Repeat, .type = regtype::Dword, .defaultNumber = 0},
    ValueSpec{.name = Repeat_Time, .type = regtype::Sz, .defaultText = u"1"},
    // missing: no kind is selected
    ValueSpec{.name = LastAction, .type = regtype::Sz, .noDefault = true},
    ValueSpec{.name = cb_Reboot, .type = regtype::Sz, .defaultText = u""},
    ValueSpec{.name = cb_Inne, .type = regtype::Sz, .defaultText = u""},
    ValueSpec{.name = AutoMinimize, .type = regtype::Dword, .defaultNumber = 0},
    ValueSpec{.name = Wyg_Off, .type = regtype::Dword, .defaultNumber = 0},
    ValueSpec{.name = MinimizeAll, .type = regtype::Dword, .defaultNumber = 0},
    ValueSpec{.name = MinimizeProg, .type = regtype::Dword, .defaultNumber = 0},
    ValueSpec{.name = PlayBeep, .type = regtype::Dword, .defaultNumber = 0},
    ValueSpec{.name = WakeFromSleep, .type = regtype::Dword, .defaultNumber = 1},
};

/// The five option flags, in the order of the options dialog.
inline constexpr std::array OptionFlags = {AutoMinimize, Wyg_Off, MinimizeAll, MinimizeProg,
                                           PlayBeep};

/// The recent-entries lists: one subkey each, entries as value names with empty data, the
/// unnamed value as the current entry.
// NOLINTBEGIN(readability-identifier-naming): named as stored (docs/naming.md)
inline constexpr QStringView O_MRU = u"O_MRU";
inline constexpr QStringView ZA_MRU = u"ZA_MRU";
inline constexpr QStringView Kom_Text_MRU = u"Kom_Text_MRU";
inline constexpr QStringView Kom_Caption_MRU = u"Kom_Caption_MRU";
inline constexpr QStringView Sound_MRU = u"Sound_MRU";
inline constexpr QStringView EXE_MRU = u"EXE_MRU";
inline constexpr QStringView Pliki_MRU = u"Pliki_MRU";
inline constexpr QStringView Foldery_MRU = u"Foldery_MRU";
inline constexpr QStringView WWW_MRU = u"WWW_MRU";
// NOLINTEND(readability-identifier-naming)
inline constexpr std::array RecentLists = {O_MRU,           ZA_MRU,      Kom_Text_MRU,
                                           Kom_Caption_MRU, Sound_MRU,   EXE_MRU,
                                           Pliki_MRU,       Foldery_MRU, WWW_MRU};

/// Subkey with the parameters of the last other-action (not a list).
// NOLINTBEGIN(readability-identifier-naming): named as stored (docs/naming.md)
inline constexpr QStringView Inne_MRU = u"Inne_MRU";
inline constexpr QStringView x_DoubleClick = u"x_DoubleClick";
inline constexpr QStringView y_DoubleClick = u"y_DoubleClick";
inline constexpr QStringView x_SingleClick = u"x_SingleClick";
inline constexpr QStringView y_SingleClick = u"y_SingleClick";
inline constexpr QStringView Klawisz = u"Klawisz";
inline constexpr QStringView Dysk_CD = u"Dysk_CD";
inline constexpr QStringView Dysk_CD_Ws_Wy = u"Dysk_CD_Ws-Wy";
// NOLINTEND(readability-identifier-naming)
inline constexpr std::array OtherActionValues = {
    ValueSpec{.name = x_DoubleClick, .type = regtype::Dword, .defaultNumber = 0},
    ValueSpec{.name = y_DoubleClick, .type = regtype::Dword, .defaultNumber = 0},
    ValueSpec{.name = x_SingleClick, .type = regtype::Dword, .defaultNumber = 0},
    ValueSpec{.name = y_SingleClick, .type = regtype::Dword, .defaultNumber = 0},
    // missing: the box keeps its text
    ValueSpec{.name = Klawisz, .type = regtype::Sz, .noDefault = true},
    ValueSpec{.name = Dysk_CD, .type = regtype::Sz, .noDefault = true},
    ValueSpec{.name = Dysk_CD_Ws_Wy, .type = regtype::Sz, .noDefault = true},
};

} // namespace tockwell::keys
