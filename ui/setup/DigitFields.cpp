#include "DigitFields.h"

#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace tockwell {

bool isDigitsOnly(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

QValidator::State DigitSpinBox::validate(QString &text, int &position) const
{
    if (!isDigitsOnly(text))
        return QValidator::Invalid;
    return QSpinBox::validate(text, position);
}

namespace {

/// Up to nine digits 0 to 9, checked by hand: a regular expression here would compile and keep
/// a PCRE2 pattern (and its JIT pages) for one field.
class DigitsValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &text, int &) const override
    {
        return text.size() <= MaxDigits && isDigitsOnly(text) ? Acceptable : Invalid;
    }

private:
    static constexpr qsizetype MaxDigits = 9;
};

} // namespace

void acceptDigitsOnly(QLineEdit &field)
{
    field.setValidator(new DigitsValidator(&field));
}

} // namespace tockwell
