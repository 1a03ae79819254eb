#pragma once

#include "platform/Input.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace tockwell {

/// The key combination that a key text of the key-press sub-action stands for, as X keysyms.
///
/// - One character is that character's key: "a", "A", "!", "[" (the layout decides whether it
///   takes Shift).
/// - "[" + parts joined by "+" + "]", then any description ("[CTRL+C] Kopiuj", "[F5]"): every
///   part but the last names a modifier ("ALT", "CTRL", "SHIFT"), the last one the key: a key
///   name ("DELETE", "Strzałka w lewo", "F1" … "F12", a modifier's name) or one character, a
///   letter standing for its key ("[CTRL + S]" is Control+s). Names are compared without regard
///   to letter case; blanks around the parts do not count.
///
/// Nothing for any other text: empty, an unknown name, a part left empty.
std::optional<platform::KeyCombination> keyCombination(QStringView text);

/// Why `text` stands for no key combination, in Polish for the field's hint; empty when it
/// stands for one.
QString keyTextFault(QStringView text);

} // namespace tockwell
