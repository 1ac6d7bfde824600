#include "RecordImport.h"

#include "CellStore.h"
#include "NumberText.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

#include <vector>

namespace jt::exchange {

MappingPresets dancerPresets() {
    return {{QStringLiteral("NO"), QStringLiteral("COMP_NO")},
            {QStringLiteral("NAME"), QStringLiteral("NAME")},
            {QStringLiteral("SCHOOL"), QStringLiteral("SCHOOL")}};
}

static int indexIgnoringCase(const QStringList& list, const QString& name) {
    for (int i = 0; i < list.size(); ++i)
        if (list[i].trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QList<FieldMap> presetMapping(const QStringList& targetFields, const QStringList& sourceColumns,
                              const MappingPresets& presets) {
    QList<FieldMap> mapping;
    for (const QString& field : targetFields) {
        FieldMap m{field, -1};
        for (auto it = presets.cbegin(); it != presets.cend() && m.column < 0; ++it)
            if (it.value().compare(field, Qt::CaseInsensitive) == 0)
                m.column = indexIgnoringCase(sourceColumns, it.key());
        if (m.column < 0)
            m.column = indexIgnoringCase(sourceColumns, field);
        mapping.append(m);
    }
    return mapping;
}

RecordImportResult importRecords(const Sheet& sheet, int firstRow, const QList<FieldMap>& mapping,
                                 engine::Table& table, ImportMode mode, const ImportStep& step) {
    RecordImportResult result;
    std::vector<std::pair<engine::Field*, int>> fields;
    try {
        for (const FieldMap& m : mapping)
            if (m.column >= 0)
                fields.emplace_back(table.fieldByName(m.field), m.column);
        if (fields.empty()) {
            result.error = QStringLiteral("No source column is mapped to a field.");
            return result;
        }
        // A row typed and not yet saved is saved first, as moving off it would.
        table.post();
        if (mode == ImportMode::Overwrite)
            deleteAllRecords(table);
    } catch (const engine::EngineError& e) {
        result.error = QStringLiteral("Nothing was imported: %1").arg(e.message());
        return result;
    }

    ControlsFrozen frozen(table);
    const int total = sheet.rowCount();
    for (int row = std::max(0, firstRow); row < total; ++row) {
        bool empty = true;
        for (const auto& [field, column] : fields)
            empty = empty && !sheet.cell(row, column).isValid();
        if (!empty) {
            const engine::Field* current = nullptr;
            try {
                table.append();
                for (const auto& [field, column] : fields) {
                    current = field;
                    storeCell(*field, sheet.cell(row, column));
                }
                current = nullptr;
                table.post();
            } catch (const engine::EngineError& e) {
                try {
                    table.cancel();
                } catch (const engine::EngineError&) {
                    // The row was never stored; there is nothing more to undo.
                }
                const QString where =
                    current
                        ? QStringLiteral("row %1, field %2").arg(row + 1).arg(current->fieldName())
                        : QStringLiteral("row %1").arg(row + 1);
                result.error = QStringLiteral("The import stopped at %1: %2\n"
                                              "Rows stored before it: %3.")
                                   .arg(where, e.message())
                                   .arg(result.stored);
                return result;
            }
            ++result.stored;
        }
        if (step && !step(row + 1, total)) {
            result.cancelled = row + 1 < total;
            result.completed = !result.cancelled;
            return result;
        }
    }
    result.completed = true;
    return result;
}

} // namespace jt::exchange
