#pragma once

#include "Sheet.h"

namespace jt::exchange {

// Reads the first worksheet of an Excel 97-2003 workbook (.xls) through FreeXL:
// numbers and texts; dates and times read as text ("2008-03-15"). Older Excel formats
// (BIFF 2 to 5) are read too. A file with a password is refused.
SheetResult readXls(const QString& path);

} // namespace jt::exchange
