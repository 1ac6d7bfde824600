#include "NumberValidator.h"

namespace jt::dbcontrols {

bool NumberValidator::isNumberCharacter(QChar c) {
    // The table engine reads numbers with '.' as the decimal point, whatever the
    // regional settings say, so that is the one separator offered.
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
           c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char('e') ||
           c == QLatin1Char('E');
}

QValidator::State NumberValidator::validate(QString& input, int&) const {
    for (const QChar c : input)
        if (!isNumberCharacter(c))
            return Invalid;
    return Acceptable;
}

} // namespace jt::dbcontrols
