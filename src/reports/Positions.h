#pragma once

#include <QString>

namespace jt::engine {
class Table;
}

namespace jt::reports {

// The position pass of the ranking reports, on a table in its ranking order (highest
// total first): every record gets POSITION by the usual sports ranking of the total
// field written with two decimals (250, 240, 240, 230 give 1, 2, 2, 4; totals that
// differ only beyond the second decimal share a place), each record posted; the table
// ends on its first record.
void AssignPositions(engine::Table& table, const QString& totalField);

} // namespace jt::reports
