#pragma once

#include "Sheet.h"

#include <QList>
#include <QString>

#include <functional>

namespace jt::engine {
class Table;
}

namespace jt::exchange {

// Which spreadsheet column fills which field of the table.
struct ColumnMapping {
    int column; // 0 is column A
    QString fieldName;
};

enum class ImportMode {
    Append,    // the rows are added after the records already there
    Overwrite, // every record is deleted first
};

struct ImportOptions {
    QList<ColumnMapping> columns;
    ImportMode mode = ImportMode::Append;
    int firstRow = 0; // rows above it (a heading) are not imported
};

// Told after each row with the rows done so far and the rows there are.
using ImportProgress = std::function<void(int done, int total)>;

struct ImportResult {
    bool completed = false; // every row was stored
    int stored = 0;         // records added
    QString error;          // why it stopped, naming the file, row and column
};

// Adds one record per row of the sheet to the open table, filling the mapped fields
// and leaving every other field empty. Rows whose mapped cells are all empty are
// passed over. Numbers in text cells are read with "." as the decimal point and ","
// between thousands; numbers go into text fields as they are written ("101").
//
// The first row that cannot be stored (a text that is no number for a number field, a
// value wider than its field, a failed write) stops the import: that row is dropped,
// the rows stored before it stay, and the result says where and why. sourceName names
// the file in that message. Engine errors come back in the result; nothing throws
// from a row. The table must be open.
ImportResult importSheet(const Sheet& sheet, const QString& sourceName, engine::Table& table,
                         const ImportOptions& options, const ImportProgress& progress = {});

// Deletes every record of the open table (in its current filter).
void deleteAllRecords(engine::Table& table);

} // namespace jt::exchange
