#pragma once

#include <QString>

#include <cstdint>

namespace jt::engine {
class Table;
}

namespace jt::marks {

// A mark column added up over the rows the table lists now (its order and filter).
struct ColumnTotals {
    QString field;
    std::int64_t sumFixed4 = 0; // the sum in ten-thousandths, so that .1 + .2 is .3
    int marks = 0;              // cells holding a mark (zero included)
    int blanks = 0;             // empty cells
    double sum() const { return double(sumFixed4) / 10000.0; }
    // The sum as the totals window shows it: up to four decimals, no trailing zeros.
    QString sumText() const;
};

// Reads the values through the table without moving its cursor; the row being edited
// counts with its unsaved value. Throws EngineError when the table lacks the field.
ColumnTotals columnTotals(const engine::Table& table, const QString& field);

} // namespace jt::marks
