#pragma once

#include <QSpinBox>

class QLineEdit;

namespace tockwell {

/// A time field: a spin box whose text takes the digits 0 to 9 only, typed or pasted (no sign,
/// no blank); the arrows set any value of its range.
class DigitSpinBox final : public QSpinBox
{
    Q_OBJECT

public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString &text, int &position) const override;
};

/// Lets `field` take the digits 0 to 9 only, typed or pasted, at most nine of them (so that the
/// number always fits).
void acceptDigitsOnly(QLineEdit &field);

/// Whether `text` is made of the digits 0 to 9 only (an empty text is).
bool isDigitsOnly(QStringView text);

} // namespace tockwell
