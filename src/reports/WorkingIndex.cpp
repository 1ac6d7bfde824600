#include "WorkingIndex.h"

#include "engine/Table.h"
#include "engine/WorkingIndexes.h"

#include <exception>

namespace jt::reports {

void runWithWorkingIndex(engine::Table& table, const WorkingIndex& index,
                         const std::function<void()>& body) {
    std::exception_ptr failure;
    const auto attempt = [&failure](const auto& step) {
        try {
            step();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    };

    bool added = false;
    attempt([&] {
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
    attempt([&] {
        if (table.active() && table.editing())
            table.cancel();
    });
    attempt([&] { table.setIndexName(QString()); });
    attempt([&] {
        table.setFiltered(false);
        table.setFilter(QString());
    });
    if (added)
        attempt([&] { engine::IndexStore::deleteWorkingIndex(table, index.name); });
    attempt([&] { table.close(); });
    attempt([&] { table.setExclusive(false); });
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace jt::reports
