#include "SheetImport.h"

#include "CellStore.h"
#include "NumberText.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

#include <QDir>

#include <vector>

namespace jt::exchange {

namespace {

bool rowIsEmpty(const Sheet& sheet, int row, const QList<ColumnMapping>& columns) {
    for (const ColumnMapping& m : columns)
        if (sheet.cell(row, m.column).isValid())
            return false;
    return true;
}

} // namespace

void deleteAllRecords(engine::Table& table) {
    ControlsFrozen frozen(table);
    if (table.editing())
        table.cancel();
    table.first();
    while (!table.isEmpty())
        table.deleteRecord();
}

ImportResult importSheet(const Sheet& sheet, const QString& sourceName, engine::Table& table,
                         const ImportOptions& options, const ImportProgress& progress) {
    ImportResult result;
    const QString file = QDir::toNativeSeparators(sourceName);
    std::vector<engine::Field*> fields;
    try {
        for (const ColumnMapping& m : options.columns)
            fields.push_back(table.fieldByName(m.fieldName));
        // A row typed and not yet saved is saved before the import begins, as moving off it would.
        table.post();
        if (options.mode == ImportMode::Overwrite)
            deleteAllRecords(table);
    } catch (const engine::EngineError& e) {
        result.error = QStringLiteral("%1 was not imported: %2").arg(file, e.message());
        return result;
    }

    ControlsFrozen frozen(table);
    const int total = sheet.rowCount();
    for (int row = std::max(0, options.firstRow); row < total; ++row) {
        if (rowIsEmpty(sheet, row, options.columns)) {
            if (progress)
                progress(row + 1, total);
            continue;
        }
        int column = -1;
        try {
            table.append();
            for (std::size_t i = 0; i < fields.size(); ++i) {
                column = options.columns[qsizetype(i)].column;
                storeCell(*fields[i], sheet.cell(row, column));
            }
            column = -1;
            table.post();
        } catch (const engine::EngineError& e) {
            try {
                table.cancel();
            } catch (const engine::EngineError&) {
                // The row was never stored; there is nothing more to undo.
            }
            const QString where =
                column >= 0
                    ? QStringLiteral("row %1, column %2").arg(row + 1).arg(columnName(column))
                    : QStringLiteral("row %1").arg(row + 1);
            result.error = QStringLiteral("The import of %1 stopped at %2: %3\n"
                                          "Rows stored before it: %4.")
                               .arg(file, where, e.message())
                               .arg(result.stored);
            return result;
        }
        ++result.stored;
        if (progress)
            progress(row + 1, total);
    }
    result.completed = true;
    return result;
}

} // namespace jt::exchange
