#pragma once

#include "Sheet.h"

namespace jt::exchange {

// Reads the first worksheet of an Excel 2007 workbook (.xlsx): numbers, texts (shared,
// inline and formula results) and truth values. Formulas give their last calculated
// value; styles, dates and merged cells are not looked at (a date reads as its day number).
SheetResult readXlsx(const QString& path);

} // namespace jt::exchange
