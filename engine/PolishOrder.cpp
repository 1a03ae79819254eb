#include "PolishOrder.h"

#include <QString>

#include <algorithm>
#include <cstdint>

namespace tockwell {
namespace {

constexpr std::u16string_view Alphabet = u"aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż";

// The groups of characters, in their order.
enum class Group : std::uint8_t
{
    Space,
    Punctuation,
    Symbol,
    Digit,
    Letter,
    OtherLetter
};

// Where a character sorts: its group and its place in the group, ignoring accents on letters
// outside the alphabet and case.
struct Weight
{
    Group group;
    char32_t place;
    bool operator==(const Weight &) const = default;
    auto operator<=>(const Weight &) const = default;
};

// The place of a lower-case letter in the alphabet, or -1.
int alphabetPlace(QChar lower)
{
    const auto at = Alphabet.find(lower.unicode());
    return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

Weight weightOf(QChar c)
{
    if (c.isSpace() || c.category() == QChar::Other_Control)
        return {Group::Space, c.unicode()};
    if (c.isPunct())
        return {Group::Punctuation, c.unicode()};
    if (c.isDigit())
        return {Group::Digit, static_cast<char32_t>(c.digitValue())};
    if (!c.isLetter())
        return {Group::Symbol, c.unicode()};
    const QChar lower = c.toLower();
    if (const int place = alphabetPlace(lower); place >= 0)
        return {Group::Letter, static_cast<char32_t>(place)};
    // A Latin letter with an accent not in the alphabet sorts with its base letter.
    const QString parts = lower.decomposition();
    if (!parts.isEmpty())
        if (const int place = alphabetPlace(parts.front()); place >= 0)
            return {Group::Letter, static_cast<char32_t>(place)};
    return {Group::OtherLetter, lower.unicode()};
}

template <typename T> int sign(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Compares the texts character by character by `key`, a shorter text before a longer one that
// it begins.
template <typename Key> int compareBy(QStringView a, QStringView b, Key key)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i)
        if (const int order = sign(key(a[i]), key(b[i])))
            return order;
    return sign(a.size(), b.size());
}

} // namespace

int comparePolish(QStringView a, QStringView b)
{
    if (const int order = compareBy(a, b, weightOf))
        return order;
    if (const int order = compareBy(a, b, [](QChar c) { return c.toLower().unicode(); }))
        return order;
    if (const int order = compareBy(a, b, [](QChar c) { return c != c.toLower(); }))
        return order;
    return sign(a.compare(b, Qt::CaseSensitive), 0);
}

} // namespace tockwell
