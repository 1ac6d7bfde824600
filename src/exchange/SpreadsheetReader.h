#pragma once

#include "Sheet.h"

namespace jt::exchange {

// Reads the first sheet of a spreadsheet file. The format is told by the file's
// contents, not its name: Excel 97-2003 (.xls), Excel 2007 and later (.xlsx) and
// OpenDocument (.ods). A file that is missing, cannot be opened, is empty, damaged,
// password-protected or of another kind gives a reason instead of a sheet.
SheetResult readFirstSheet(const QString& path);

// The file types the import offers, for a file dialog ("Excel Files (*.xls);;...").
QString spreadsheetFilter();

} // namespace jt::exchange
