#pragma once

#include <QStringView>

namespace tockwell {

/// Compares two texts in the order of the Polish alphabet (a ą b c ć d e ę f g h i j k l ł m n ń
/// o ó p q r s ś t u v w x y z ź ż), case-insensitively: spaces come first, then punctuation,
/// other symbols, digits (by value), the letters of the alphabet and other letters last. Other
/// Latin letters with accents sort with their base letter ("é" with "e"). Texts equal in that
/// order are told apart by their accents, then lower case before upper case, then their code
/// units, so the order is total. Negative, zero or positive, as QString::compare.
int comparePolish(QStringView a, QStringView b);

/// Whether `a` sorts before `b` in comparePolish's order (for std::sort).
inline bool polishLess(QStringView a, QStringView b)
{
    return comparePolish(a, b) < 0;
}

} // namespace tockwell
