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

/// O_ZA: 1 = at a clock time; any other number means countdown.
inline constexpr int O_ZA_Clock = 1;
inline constexpr int O_ZA_Countdown = 2;
// NOLINTEND(readability-identifier-naming)

/// Every value of the base key. Booleans are REG_DWORD 0 or 1.
inline constexpr std::array BaseValues = {
    ValueSpec{Path, regtype::Sz, {}, 0, true},
    ValueSpec{Version, regtype::Sz, {}, 0, true},
    ValueSpec{Name, regtype::Sz, {}, 0, true},
    ValueSpec{O_ZA, regtype::Dword, {}, O_ZA_Clock},
    ValueSpec{Repeat, regtype::Dword, {}, 0},
    ValueSpec{Repeat_Time, regtype::Sz, u"1", 0},
    ValueSpec{LastAction, regtype::Sz, {}, 0, true}, // missing: no kind is selected
    ValueSpec{cb_Reboot, regtype::Sz, u"", 0},
    ValueSpec{cb_Inne, regtype::Sz, u"", 0},
    ValueSpec{AutoMinimize, regtype::Dword, {}, 0},
    ValueSpec{Wyg_Off, regtype::Dword, {}, 0},
    ValueSpec{MinimizeAll, regtype::Dword, {}, 0},
    ValueSpec{MinimizeProg, regtype::Dword, {}, 0},
    ValueSpec{PlayBeep, regtype::Dword, {}, 0},
    ValueSpec{WakeFromSleep, regtype::Dword, {}, 1},
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
/// The seven lists that have a menu, in the order the setup window builds them.
inline constexpr std::array MenuLists = {O_MRU,     ZA_MRU,      Sound_MRU, EXE_MRU,
                                         Pliki_MRU, Foldery_MRU, WWW_MRU};

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
    ValueSpec{x_DoubleClick, regtype::Dword, {}, 0},
    ValueSpec{y_DoubleClick, regtype::Dword, {}, 0},
    ValueSpec{x_SingleClick, regtype::Dword, {}, 0},
    ValueSpec{y_SingleClick, regtype::Dword, {}, 0},
    ValueSpec{Klawisz, regtype::Sz, {}, 0, true}, // missing: the box keeps its text
    ValueSpec{Dysk_CD, regtype::Sz, {}, 0, true},
    ValueSpec{Dysk_CD_Ws_Wy, regtype::Sz, {}, 0, true},
};

} // namespace tockwell::keys
