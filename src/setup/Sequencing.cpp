#include "Sequencing.h"

#include "engine/Table.h"

#include <algorithm>

namespace jt::setup {

namespace {

struct Frozen {
    engine::Table& table;
    explicit Frozen(engine::Table& t) : table(t) { table.disableControls(); }
    ~Frozen() { table.enableControls(); }
    Frozen(const Frozen&) = delete;
    Frozen& operator=(const Frozen&) = delete;
};

} // namespace

void autoSequence(engine::Table& results, engine::Field& sequence) {
    Frozen frozen(results);
    int number = 0;
    for (results.first(); !results.eof(); results.next()) {
        results.edit();
        sequence.setAsInteger(++number);
        results.post();
    }
}

void clearSequence(engine::Table& results, engine::Field& sequence) {
    Frozen frozen(results);
    for (results.first(); !results.eof(); results.next()) {
        results.edit();
        sequence.clear();
        results.post();
    }
}

double highestSequence(engine::Table& results, const engine::Field& sequence) {
    double highest = 0;
    for (int row = 0; row < results.rowCount(); ++row)
        highest = std::max(highest, results.valueAt(row, sequence.fieldNo()).toDouble());
    return highest;
}

void toggleSequence(engine::Table& results, engine::Field& sequence) {
    if (results.currentRow() < 0)
        return;
    Frozen frozen(results);
    const double highest = highestSequence(results, sequence);
    results.edit();
    if (sequence.asFloat() > 0)
        sequence.clear();
    else
        sequence.setAsFloat(highest + 1);
    results.post();
}

} // namespace jt::setup
