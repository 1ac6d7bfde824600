#pragma once

#include <QValidator>

namespace jt::dbcontrols {

// Lets through only the characters a number can be written with: digits, a sign,
// the decimal point and the exponent letter. Whether the text as a whole reads as a
// number is the field's decision when the text is stored, so every text made of these
// characters counts as acceptable here.
class NumberValidator final : public QValidator {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NumberValidator)

public:
    explicit NumberValidator(QObject* parent = nullptr) : QValidator(parent) {}
    State validate(QString& input, int& pos) const override;
    static bool isNumberCharacter(QChar c);
};

} // namespace jt::dbcontrols
