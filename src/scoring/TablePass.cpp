#include "TablePass.h"

#include "engine/FirstFailure.h"
#include "engine/Table.h"
#include "engine/WorkingIndexes.h"

namespace jt::scoring {
namespace {

void runPass(engine::Table& table, const QString& indexName, const QString& keyField,
             const std::function<void()>& body) {
    const bool withIndex = !indexName.isEmpty();
    engine::FirstFailure steps;

    steps.attempt([&] {
        table.close();
        table.setIndexName(QString());
        table.setFiltered(false);
        if (withIndex)
            engine::IndexStore::addWorkingIndex(table, indexName, keyField, /*descending=*/true);
        table.setExclusive(true);
        table.open();
        if (withIndex) {
            table.updateIndexDefs();
            table.setIndexName(indexName);
        }
        // A bulk update: bound controls are told once, when the pass is over.
        table.disableControls();
        struct Enable {
            engine::Table& t;
            ~Enable() { t.enableControls(); }
        } enable{table};
        table.first();
        body();
    });

    // A failed post leaves its record in edit mode; it must not be posted again here.
    steps.attempt([&] {
        if (table.editing())
            table.cancel();
    });
    steps.attempt([&] { table.setIndexName(QString()); });
    if (withIndex)
        steps.attempt([&] { engine::IndexStore::deleteWorkingIndex(table, indexName); });
    steps.attempt([&] { table.close(); });
    steps.attempt([&] { table.setExclusive(false); });
    steps.rethrow();
}

} // namespace

void runRecordOrderPass(engine::Table& table, const std::function<void()>& body) {
    runPass(table, QString(), QString(), body);
}

void runWorkingIndexPass(engine::Table& table, const QString& indexName, const QString& keyField,
                         const std::function<void()>& body) {
    runPass(table, indexName, keyField, body);
}

} // namespace jt::scoring
