#include "WorkingIndex.h"

#include "engine/FirstFailure.h"
#include "engine/Table.h"
#include "engine/WorkingIndexes.h"

namespace jt::reports {

void runWithWorkingIndex(engine::Table& table, const WorkingIndex& index,
                         const std::function<void()>& body) {
    engine::FirstFailure steps;

    bool added = false;
    steps.attempt([&] {
        table.close();
        engine::IndexStore::addWorkingIndex(table, index.name, index.field, index.descending);
        added = true;
        table.setExclusive(true);
        table.open();
        table.updateIndexDefs();
        table.setIndexName(index.name);
        table.first();
        body();
    });

    // A post that failed leaves its record in edit mode; it is not posted again here.
    steps.attempt([&] {
        if (table.active() && table.editing())
            table.cancel();
    });
    steps.attempt([&] { table.setIndexName(QString()); });
    steps.attempt([&] {
        table.setFiltered(false);
        table.setFilter(QString());
    });
    if (added)
        steps.attempt([&] { engine::IndexStore::deleteWorkingIndex(table, index.name); });
    steps.attempt([&] { table.close(); });
    steps.attempt([&] { table.setExclusive(false); });
    steps.rethrow();
}

} // namespace jt::reports
