#include "KeyCombination.h"

#include <QList>
#include <QString>

#include <array>

namespace tockwell {
namespace {

struct KeyName
{
    QStringView name;
    quint32 keysym;
    bool modifier = false;
};

// The names that key texts give keys, with their X keysyms. The modifiers double as keys of
// their own ("[CTRL]").
constexpr std::array KeyNames = {
    KeyName{.name = u"ALT", .keysym = 0xffe9, .modifier = true},   // Alt_L
    KeyName{.name = u"CTRL", .keysym = 0xffe3, .modifier = true},  // Control_L
    KeyName{.name = u"SHIFT", .keysym = 0xffe1, .modifier = true}, // Shift_L
    KeyName{.name = u"BACKSPACE", .keysym = 0xff08},
    KeyName{.name = u"TAB", .keysym = 0xff09},
    KeyName{.name = u"ENTER", .keysym = 0xff0d}, // Return
    KeyName{.name = u"ESC", .keysym = 0xff1b},   // Escape
    KeyName{.name = u"DELETE", .keysym = 0xffff},
    KeyName{.name = u"HOME", .keysym = 0xff50},
    KeyName{.name = u"END", .keysym = 0xff57},
    KeyName{.name = u"Page Up", .keysym = 0xff55},   // Prior
    KeyName{.name = u"Page Down", .keysym = 0xff56}, // Next
    KeyName{.name = u"Insert", .keysym = 0xff63},
    KeyName{.name = u"CAPS LOCK", .keysym = 0xffe5},
    KeyName{.name = u"SPACJA", .keysym = 0x0020}, // space
    KeyName{.name = u"Strzałka w lewo", .keysym = 0xff51},
    KeyName{.name = u"Strzałka w górę", .keysym = 0xff52},
    KeyName{.name = u"Strzałka w prawo", .keysym = 0xff53},
    KeyName{.name = u"Strzałka w dół", .keysym = 0xff54},
};

constexpr quint32 F1 = 0xffbe; // F1 … F12 follow one another
constexpr int FunctionKeys = 12;
// Characters outside Latin-1 have keysyms of this base plus their code point.
constexpr quint32 UnicodeKeysyms = 0x01000000;

const KeyName *findName(QStringView name)
{
    for (const KeyName &key : KeyNames) {
        if (key.name.compare(name, Qt::CaseInsensitive) == 0)
            return &key;
    }
    return nullptr;
}

// The keysym of a printable character; nothing for a control character.
std::optional<quint32> characterKeysym(char32_t character)
{
    if (character < 0x20 || (character >= 0x7f && character < 0xa0))
        return std::nullopt;
    return character <= 0xff ? quint32(character) : UnicodeKeysyms + quint32(character);
}

// The single character of `text`, if it has exactly one.
std::optional<char32_t> onlyCharacter(QStringView text)
{
    const QList<uint> characters = text.toUcs4();
    if (characters.size() != 1)
        return std::nullopt;
    return char32_t(characters.first());
}

std::optional<quint32> functionKeysym(QStringView name)
{
    if (name.size() < 2 || name.front().toUpper() != u'F')
        return std::nullopt;
    bool ok = false;
    const int number = name.mid(1).toInt(&ok);
    if (!ok || number < 1 || number > FunctionKeys || name.mid(1).startsWith(u'0'))
        return std::nullopt;
    return F1 + quint32(number - 1);
}

// The key that the last part of a bracketed text names.
std::optional<quint32> keyKeysym(QStringView part)
{
    if (const KeyName *key = findName(part))
        return key->keysym;
    if (const auto keysym = functionKeysym(part))
        return keysym;
    if (const auto character = onlyCharacter(part)) {
        // A letter names its key, whose unshifted keysym is the small letter.
        const char32_t small = QChar::toLower(*character);
        return characterKeysym(small);
    }
    return std::nullopt;
}

// Splits the inside of the brackets into the modifier parts and the key part. A "+" at the end
// that follows another "+" (or stands alone) is the key itself: "[CTRL + +]".
std::pair<QList<QStringView>, QStringView> splitParts(QStringView inside)
{
    inside = inside.trimmed();
    if (inside.endsWith(u'+')) {
        const QStringView before = inside.chopped(1).trimmed();
        if (before.isEmpty())
            return {{}, inside.right(1)};
        if (before.endsWith(u'+')) {
            QList<QStringView> modifiers;
            for (const QStringView part : before.chopped(1).split(u'+'))
                modifiers.append(part.trimmed());
            return {modifiers, inside.right(1)};
        }
    }
    QList<QStringView> parts;
    for (const QStringView part : inside.split(u'+'))
        parts.append(part.trimmed());
    const QStringView key = parts.takeLast();
    return {parts, key};
}

// What a key text gives: its keys, or why it gives none, in the user's words.
struct Reading
{
    std::optional<platform::KeyCombination> keys;
    QString fault;
};

Reading faulty(const QString &fault)
{
    return {std::nullopt, fault};
}

QString quoted(QStringView part)
{
    return u"„%1”"_qs.arg(part);
}

// A fault of the whole text, followed by what the field takes.
Reading faultyWithExample(const QString &fault)
{
    return faulty(fault + u": wpisz jeden znak albo kombinację w nawiasach kwadratowych, np. "
                          "[CTRL + S]."_qs);
}

Reading bracketedCombination(QStringView text)
{
    const qsizetype close = text.indexOf(u']', 1);
    if (close < 0)
        return faulty(u"Brakuje nawiasu zamykającego „]”."_qs);
    const auto [modifierParts, keyPart] = splitParts(text.mid(1, close - 1));
    platform::KeyCombination combination;
    for (const QStringView part : modifierParts) {
        const KeyName *modifier = findName(part);
        if (!modifier || !modifier->modifier)
            return faulty(quoted(part) + u" nie jest klawiszem modyfikującym: przed „+” może "
                                         "stać ALT, CTRL lub SHIFT."_qs);
        if (combination.modifiers.contains(modifier->keysym))
            return faulty(u"Klawisz "_qs + quoted(part) + u" powtarza się w kombinacji."_qs);
        combination.modifiers.append(modifier->keysym);
    }
    if (keyPart.isEmpty())
        return faulty(modifierParts.isEmpty() ? u"Między nawiasami nie podano klawisza."_qs
                                              : u"Po ostatnim „+” brakuje klawisza."_qs);
    const std::optional<quint32> key = keyKeysym(keyPart);
    if (!key)
        return faulty(u"Nie znam klawisza "_qs + quoted(keyPart) +
                      u": wybierz klawisz z listy albo wpisz jeden znak."_qs);
    combination.key = *key;
    return {combination, {}};
}

Reading read(QStringView text)
{
    if (text.isEmpty())
        return faultyWithExample(u"Nie podano klawisza"_qs);
    if (const auto character = onlyCharacter(text)) {
        if (const auto keysym = characterKeysym(*character))
            return {platform::KeyCombination{{}, *keysym}, {}};
        return faultyWithExample(u"Tego znaku nie można nacisnąć"_qs);
    }
    if (!text.startsWith(u'['))
        return faultyWithExample(u"Kilka znaków to nie jeden klawisz"_qs);
    return bracketedCombination(text);
}

} // namespace

std::optional<platform::KeyCombination> keyCombination(QStringView text)
{
    return read(text).keys;
}

QString keyTextFault(QStringView text)
{
    return read(text).fault;
}

} // namespace tockwell
