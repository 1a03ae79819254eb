#include "DigitFields.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

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

void acceptDigitsOnly(QLineEdit &field)
{
    field.setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,9}"_qs), &field));
}

} // namespace tockwell
