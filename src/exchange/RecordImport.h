#pragma once

#include "Sheet.h"
#include "SheetImport.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace jt::engine {
class Table;
}

namespace jt::exchange {

// One target field and the source column that fills it (-1: left empty).
struct FieldMap {
    QString field;
    int column = -1;
    friend bool operator==(const FieldMap&, const FieldMap&) = default;
};

// Source column names that fill a field whatever the target field is called
// ("NO" -> "COMP_NO"); a field not named here takes the column of its own name.
using MappingPresets = QHash<QString, QString>;

// The preset the Dancer Setup gives the wizard: NO, NAME and SCHOOL.
MappingPresets dancerPresets();

// One entry per target field: the source column named for it in the presets, else the
// column of the same name (letter case ignored), else none.
QList<FieldMap> presetMapping(const QStringList& targetFields, const QStringList& sourceColumns,
                              const MappingPresets& presets);

// Told after each row; returning false stops the import (the rows stored stay).
using ImportStep = std::function<bool(int done, int total)>;

struct RecordImportResult {
    bool completed = false; // every row was read (stored or passed over as empty)
    bool cancelled = false;
    int stored = 0;
    QString error; // why it stopped: the row and field, and what was wrong
};

// Adds one record per row of the sheet from firstRow on, filling the mapped fields of
// the open table. Rows whose mapped cells are all empty are passed over. Numbers in
// text cells are read with "." as the decimal point and "," between thousands.
//
// The first row that cannot be stored stops the import: that row is dropped, the rows
// stored before it stay, and the error names the row (as the source counts it, from 1)
// and the field. Nothing throws.
RecordImportResult importRecords(const Sheet& sheet, int firstRow, const QList<FieldMap>& mapping,
                                 engine::Table& table, ImportMode mode,
                                 const ImportStep& step = {});

} // namespace jt::exchange
