#pragma once

#include "Sheet.h"

namespace jt::exchange {

// Reads the first table of an OpenDocument spreadsheet (.ods): numbers (also
// percentages and currency amounts), texts and truth values. Formulas give their last
// calculated value; dates and times read as the text the cell shows.
SheetResult readOds(const QString& path);

} // namespace jt::exchange
