#pragma once

#include <QString>

#include <optional>

namespace jt::exchange {

// Reads a number written with "." as the decimal point and "," between groups of
// three digits ("1,234.5"), whatever the computer's regional settings say. Leading and
// trailing spaces are allowed, as are a sign and an exponent ("1.5e3"). Commas must
// stand between whole groups of three digits before the point: "1,23" is refused
// rather than read as 123. Nothing when the text is not such a number.
std::optional<double> parseNumber(const QString& text);

} // namespace jt::exchange
