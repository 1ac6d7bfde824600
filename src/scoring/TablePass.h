#pragma once

#include <QString>

#include <functional>

namespace jt::engine {
class Table;
}

namespace jt::scoring {

// A pass over every record of a table, held for sole use for the pass's length so that
// the posts are written without a sync each and nobody changes the table meanwhile.
//
// runRecordOrderPass opens the table in record order, unfiltered. runWorkingIndexPass
// first creates the descending index indexName on keyField and makes it the order. The
// body starts on the first record. Afterwards, also when any step failed, a pending edit
// is dropped, the order goes back to record order, the working index is deleted (an
// index of that name left by an earlier run too, even when creating it was what
// failed), the table is closed and sole use released. The first error is rethrown.
void runRecordOrderPass(engine::Table& table, const std::function<void()>& body);
void runWorkingIndexPass(engine::Table& table, const QString& indexName, const QString& keyField,
                         const std::function<void()>& body);

} // namespace jt::scoring
