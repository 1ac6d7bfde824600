#include "DancerImport.h"

#include "engine/EngineError.h"
#include "engine/Table.h"
#include "exchange/NumberText.h"
#include "exchange/SpreadsheetReader.h"

#include <QDir>

namespace jt::setup {

namespace {

bool isNumber(const QVariant& cell) {
    if (cell.typeId() == QMetaType::Double)
        return true;
    return cell.typeId() == QMetaType::QString && exchange::parseNumber(cell.toString());
}

// Puts the table back into shared use however the import ended.
struct SharedAgain {
    engine::Table& table;
    bool active = true;
    ~SharedAgain() {
        if (!active)
            return;
        try {
            table.close();
        } catch (const engine::EngineError&) {
            // Reported by the caller's own close below; the handle is closed regardless.
        }
        table.setExclusive(false);
    }
};

} // namespace

exchange::ImportOptions dancerImportOptions(exchange::ImportMode mode) {
    exchange::ImportOptions options;
    options.columns = {
        {0, QStringLiteral("COMP_NO")}, {1, QStringLiteral("NAME")}, {2, QStringLiteral("SCHOOL")}};
    options.mode = mode;
    return options;
}

int firstDancerRow(const exchange::Sheet& sheet) {
    return sheet.rowCount() > 0 && !isNumber(sheet.cell(0, 0)) ? 1 : 0;
}

exchange::ImportResult importDancers(engine::Table& results, const QString& path,
                                     exchange::ImportMode mode,
                                     const exchange::ImportProgress& progress) {
    exchange::ImportResult result;
    const exchange::SheetResult read = exchange::readFirstSheet(path);
    if (!read.sheet) {
        result.error = read.error;
        return result;
    }
    exchange::ImportOptions options = dancerImportOptions(mode);
    options.firstRow = firstDancerRow(*read.sheet);

    const QString file = QDir::toNativeSeparators(path);
    results.disableControls();
    struct Enable {
        engine::Table& t;
        ~Enable() { t.enableControls(); }
    } enable{results};
    try {
        // What was typed in the current row is saved first, as leaving the row would.
        results.post();
        results.close();
        results.setExclusive(true);
        SharedAgain shared{results};
        try {
            results.open();
        } catch (const engine::EngineError& e) {
            if (e.kind() != engine::EngineError::Kind::InUse)
                throw;
            results.setExclusive(false);
            results.open();
        }
        result = exchange::importSheet(*read.sheet, path, results, options, progress);
        // Closing writes and syncs what sole use held back; a failure here is the import's.
        shared.active = false;
        results.close();
        results.setExclusive(false);
    } catch (const engine::EngineError& e) {
        results.setExclusive(false);
        result.completed = false;
        result.error = QStringLiteral("%1 was not imported: %2").arg(file, e.message());
    }
    try {
        results.open();
    } catch (const engine::EngineError& e) {
        result.completed = false;
        result.error += (result.error.isEmpty() ? QString() : QStringLiteral("\n")) + e.message();
    }
    return result;
}

} // namespace jt::setup
