#include "X11Keyboard.h"

#include "LinuxConfig.h"
#include "SystemLibrary.h"

// After Qt's headers, which Xlib's macros would break.
#if TOCKWELL_WITH_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>

namespace tockwell::platform {
namespace {

#if TOCKWELL_WITH_X11

// Keysyms of characters outside Latin-1: this base plus the code point.
constexpr KeySym UnicodeKeysyms = 0x01000000;

// xkbcommon's xkb_utf32_to_keysym: the keysym that layouts give a character. The library is the
// one Qt reads key events with, so it is loaded already; without it only the Unicode keysym is
// looked for.
using Utf32ToKeysym = std::uint32_t (*)(std::uint32_t);

Utf32ToKeysym loadUtf32ToKeysym()
{
    SystemLibrary library(u"xkbcommon"_qs, 0);
    Utf32ToKeysym function = nullptr;
    return library.resolve("xkb_utf32_to_keysym", function) ? function : nullptr;
}

// The keysyms that stand for `keysym` on a layout: itself and, for a character's Unicode keysym,
// the layout's own keysym of that character.
std::array<KeySym, 2> sameKeysyms(KeySym keysym)
{
    static const Utf32ToKeysym utf32ToKeysym = loadUtf32ToKeysym();
    KeySym layoutKeysym = keysym;
    if (keysym > UnicodeKeysyms && utf32ToKeysym) {
        if (const KeySym own = utf32ToKeysym(std::uint32_t(keysym - UnicodeKeysyms)))
            layoutKeysym = own;
    }
    return {layoutKeysym, keysym};
}

struct KeyboardFree
{
    void operator()(XkbDescPtr keyboard) const { XkbFreeKeyboard(keyboard, 0, True); }
};
using KeyboardMap = std::unique_ptr<XkbDescRec, KeyboardFree>;

struct ModifierMapFree
{
    void operator()(XModifierKeymap *map) const { XFreeModifiermap(map); }
};

constexpr int ModifierCount = 8; // Shift, Lock, Control, Mod1 … Mod5

bool isLockingKeysym(KeySym keysym)
{
    return keysym == XK_Caps_Lock || keysym == XK_Shift_Lock || keysym == XK_Num_Lock ||
           keysym == XK_ISO_Lock || keysym == XK_ISO_Level3_Lock || keysym == XK_ISO_Level5_Lock;
}

// The layout as the server has it now, in its current group (Xlib's own cached copy is not
// refreshed when the layout changes, because Qt reads the X events), with the keys that give
// each modifier.
class Layout
{
public:
    static std::optional<Layout> read(::Display *display)
    {
        KeyboardMap map(XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd));
        if (!map)
            return std::nullopt;
        XkbStateRec state{};
        const int group = XkbGetState(display, XkbUseCoreKbd, &state) == Success ? state.group : 0;
        Layout layout(std::move(map), group);
        layout.readModifierKeys(display);
        return layout;
    }

    // Where a keysym is: the key, and the modifiers that select the key's level with it.
    struct Place
    {
        KeyCode code;
        unsigned modifiers;
    };

    // The place of `keysym` that takes the fewest modifiers; nothing where the layout lacks it
    // or only a locking modifier reaches it.
    std::optional<Place> find(KeySym keysym) const
    {
        const std::array<KeySym, 2> wanted = sameKeysyms(keysym);
        std::optional<Place> best;
        for (int code = m_map->min_key_code; code <= m_map->max_key_code; ++code) {
            const int group = groupOf(code);
            if (group < 0)
                continue;
            for (int level = 0; level < XkbKeyGroupWidth(m_map.get(), code, group); ++level) {
                const KeySym found = XkbKeySymEntry(m_map.get(), code, level, group);
                if (found == NoSymbol ||
                    std::find(wanted.begin(), wanted.end(), found) == wanted.end())
                    continue;
                const std::optional<unsigned> mask = levelModifiers(code, group, level);
                if (mask && (!best || std::popcount(*mask) < std::popcount(best->modifiers)))
                    best = Place{KeyCode(code), *mask};
            }
        }
        return best;
    }

    // The modifiers that `code` gives when held.
    unsigned modifiersOf(KeyCode code) const
    {
        unsigned mask = 0;
        for (int modifier = 0; modifier < ModifierCount; ++modifier) {
            const auto &keys = m_modifierKeys[std::size_t(modifier)];
            if (std::find(keys.begin(), keys.end(), code) != keys.end())
                mask |= 1u << modifier;
        }
        return mask;
    }

    // A key that gives `modifier` (its index) without locking it.
    KeyCode modifierKey(int modifier) const
    {
        return m_modifierKeys[std::size_t(modifier)].front();
    }

    // The last key that has no keysym in any group: free to bind for a press.
    std::optional<KeyCode> spareKey() const
    {
        for (int code = m_map->max_key_code; code >= m_map->min_key_code; --code) {
            if (XkbKeyNumGroups(m_map.get(), code) == 0)
                return KeyCode(code);
        }
        return std::nullopt;
    }

private:
    Layout(KeyboardMap map, int group) : m_map(std::move(map)), m_group(group) {}

    // The key's own group for the layout's group (groups beyond a key's own wrap around), or -1
    // for a key without keysyms.
    int groupOf(int code) const
    {
        const int groups = XkbKeyNumGroups(m_map.get(), code);
        return groups == 0 ? -1 : m_group % groups;
    }

    // The fewest modifiers that select `level` of the key's type, all of them held by a key that
    // does not lock; nothing where there are none such.
    std::optional<unsigned> levelModifiers(int code, int group, int level) const
    {
        if (level == 0)
            return 0u;
        const XkbKeyTypePtr type = XkbKeyKeyType(m_map.get(), code, group);
        std::optional<unsigned> best;
        for (int i = 0; i < type->map_count; ++i) {
            const XkbKTMapEntryRec &entry = type->map[i];
            if (entry.active && entry.level == level && canHold(entry.mods.mask) &&
                (!best || std::popcount(entry.mods.mask) < std::popcount(*best)))
                best = entry.mods.mask;
        }
        return best;
    }

    bool canHold(unsigned mask) const
    {
        for (int modifier = 0; modifier < ModifierCount; ++modifier) {
            if ((mask & (1u << modifier)) && m_modifierKeys[std::size_t(modifier)].empty())
                return false;
        }
        return true;
    }

    // The keys of each modifier, without Lock and without the keys whose keysym locks.
    void readModifierKeys(::Display *display)
    {
        const std::unique_ptr<XModifierKeymap, ModifierMapFree> map(XGetModifierMapping(display));
        for (int modifier = 0; map && modifier < ModifierCount; ++modifier) {
            for (int i = 0; i < map->max_keypermod && modifier != LockMapIndex; ++i) {
                const KeyCode code = map->modifiermap[modifier * map->max_keypermod + i];
                const int group = code ? groupOf(code) : -1;
                if (group >= 0 && !isLockingKeysym(XkbKeySymEntry(m_map.get(), code, 0, group)))
                    m_modifierKeys[std::size_t(modifier)].push_back(code);
            }
        }
    }

    KeyboardMap m_map;
    int m_group = 0;
    std::array<std::vector<KeyCode>, ModifierCount> m_modifierKeys;
};

// Binds `keysym` alone to `code`; NoSymbol gives the key back.
void bindKey(::Display *display, KeyCode code, KeySym keysym)
{
    XChangeKeyboardMapping(display, code, 1, &keysym, 1);
    XSync(display, False);
}

#endif

} // namespace

X11Keyboard::X11Keyboard()
{
    m_unbindTimer.setSingleShot(true);
    m_unbindTimer.callOnTimeout([this] { unbind(); });
}

X11Keyboard::~X11Keyboard()
{
    unbind();
}

std::optional<X11Keyboard::KeyCodes>
X11Keyboard::keysToPress(_XDisplay *display, const KeyCombination &keys, Missing missing)
{
#if TOCKWELL_WITH_X11
    const std::optional<Layout> layout = Layout::read(display);
    if (!layout)
        return std::nullopt;
    KeyCodes codes;
    unsigned held = 0;
    for (const quint32 modifier : keys.modifiers) {
        const std::optional<Layout::Place> place = layout->find(modifier);
        if (!place)
            return std::nullopt;
        codes.push_back(place->code);
        held |= layout->modifiersOf(place->code);
    }
    std::optional<Layout::Place> key = layout->find(keys.key);
    if (!key) {
        const std::optional<KeyCode> spare =
            missing == Missing::BindSpareKey ? layout->spareKey() : std::nullopt;
        if (!spare)
            return std::nullopt;
        bindKey(display, *spare, sameKeysyms(keys.key).front());
        m_bound.push_back(*spare);
        key = Layout::Place{*spare, 0};
    }
    if (std::find(m_bound.begin(), m_bound.end(), key->code) != m_bound.end())
        m_unbindTimer.start(BindingMs); // bound now or by an earlier press: kept a while again
    for (int modifier = 0; modifier < ModifierCount; ++modifier) {
        if ((key->modifiers & ~held) & (1u << modifier))
            codes.push_back(layout->modifierKey(modifier));
    }
    codes.push_back(key->code);
    return codes;
#else
    Q_UNUSED(display)
    Q_UNUSED(keys)
    Q_UNUSED(missing)
    return std::nullopt;
#endif
}

void X11Keyboard::unbind()
{
#if TOCKWELL_WITH_X11
    if (::Display *display = x11::display()) {
        for (const KeyCode code : m_bound)
            bindKey(display, code, NoSymbol);
    }
#endif
    m_bound.clear();
}

} // namespace tockwell::platform
