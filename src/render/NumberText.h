#pragma once

#include <QString>
#include <QVariant>

namespace jt::render {

// The text a field item prints for a value. With a mask ("0", "0.00") the value is
// formatted by the mask and an empty number prints as 0 under it; without one the
// field's display format applies ("0.##", "#.##"; empty: the general format of up to
// 15 significant digits) and an empty number prints nothing. Rounding is to the
// pattern's last digit, halves away from zero. Text prints as stored.
QString printText(const QVariant& value, bool isNumber, const QString& mask,
                  const QString& displayFormat);

// The general number format: up to 15 significant digits, no trailing zeros.
QString generalNumber(double value);

} // namespace jt::render
