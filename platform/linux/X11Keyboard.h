#pragma once

#include "../Input.h"
#include "X11.h"

#include <QTimer>

#include <optional>
#include <vector>

namespace tockwell::platform {

/// The keys of the X server's keyboard that type a key combination, read from the layout as it
/// is at the press, in its current group:
/// - a keysym is looked for on every level of every key (AltGr's third level, the fifth, …);
///   the modifiers that select its level are held with it, locking ones (Caps Lock, Num Lock)
///   never;
/// - a character keysym matches the layout's own keysym for that character (ą is `aogonek`);
/// - a keysym that the layout lacks is bound to a key that has none, and that key is given
///   back a moment after the press, once the focused program has read the changed layout.
class X11Keyboard
{
public:
    using KeyCodes = std::vector<unsigned char>;

    X11Keyboard();
    ~X11Keyboard();
    X11Keyboard(const X11Keyboard &) = delete;
    X11Keyboard &operator=(const X11Keyboard &) = delete;

    /// What to do with a key whose keysym the layout lacks.
    enum class Missing
    {
        BindSpareKey, ///< bind it to a spare key for a while
        Refuse,       ///< nothing: the keys are for another side that knows only the layout
    };

    /// The keys to hold down in order for `keys` on `display` (the combination's modifiers, the
    /// modifiers of the key's level, the key last); nothing when a modifier of the combination
    /// has no key, or the key has none and `missing` refuses or no key can be bound.
    std::optional<KeyCodes> keysToPress(_XDisplay *display, const KeyCombination &keys,
                                        Missing missing = Missing::BindSpareKey);

    /// How long a bound key keeps its keysym after the last press that used it.
    static constexpr int BindingMs = 2000;

private:
    /// Gives the keys bound for presses back their empty mapping.
    void unbind();

    KeyCodes m_bound;
    QTimer m_unbindTimer;
};

} // namespace tockwell::platform
