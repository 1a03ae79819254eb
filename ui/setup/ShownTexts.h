#pragma once

#include "core/ArmedAlarm.h"

#include <QString>
#include <QStringView>

#include <array>

namespace tockwell {

/// A choice whose text on screen differs from the identifier that is stored, armed and
/// dispatched on (and that older stores and imported .reg files hold).
struct ShownText
{
    QStringView stored;
    QStringView shown;
};

/// Every choice of the shutdown and sub-action lists that is shown in other words than it is
/// stored in; all others are shown as they are stored. The stored forms name things a Linux
/// desktop does not have.
inline constexpr std::array ShownTexts = {
    ShownText{others::Explorer, u"Uruchom menedżer plików"},
    ShownText{others::ControlPanel, u"Uruchom ustawienia systemu"},
    ShownText{shutdowns::ShutDown, u"Zamknij system (wyłącz komputer)"},
};

/// How a stored choice is shown: its shown text, or the text itself when it has none.
inline QString shownText(QStringView stored)
{
    for (const ShownText &each : ShownTexts)
        if (each.stored == stored)
            return each.shown.toString();
    return stored.toString();
}

/// The stored form of a text as the user sees or types it: the choice it shows, or the text
/// itself (a stored form typed by hand is taken as it is).
inline QString storedText(QStringView shown)
{
    for (const ShownText &each : ShownTexts)
        if (each.shown == shown)
            return each.stored.toString();
    return shown.toString();
}

} // namespace tockwell
