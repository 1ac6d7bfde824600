#pragma once

#include "exchange/SheetImport.h"

#include <QString>

namespace jt::engine {
class Table;
}

namespace jt::setup {

// Dancer Setup's Import: the first sheet of a spreadsheet into the results table,
// column A to COMP_NO, B to NAME and C to SCHOOL, every other field left blank. A first
// row whose column A is not a number (a heading such as "No") is not imported, nor are
// rows with A to C empty.
exchange::ImportOptions dancerImportOptions(exchange::ImportMode mode);
// The row the dancers begin on: 1 when row 0 is a heading, else 0.
int firstDancerRow(const exchange::Sheet& sheet);

// Reads the file and imports it into the open results table; see importSheet for how
// a row that cannot be stored stops it. A file that cannot be read changes nothing.
//
// For speed the table is held for sole use while the rows are stored (each post is
// then not synced on its own; all are synced together when the import ends); when
// another user has it open, the import shares it instead. The table is open again for
// shared use, on its first record, when this returns, unless it cannot be reopened.
exchange::ImportResult importDancers(engine::Table& results, const QString& path,
                                     exchange::ImportMode mode,
                                     const exchange::ImportProgress& progress = {});

} // namespace jt::setup
