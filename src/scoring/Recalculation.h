#pragma once

namespace jt::engine {
class Table;
}

namespace jt::scoring {

// The whole calculation: the recall stage, then the final stage, then ReCalcFlag is
// cleared. When a stage fails the flag stays set (fields may be half-computed) and the
// engine's error propagates for the caller to show.
void recalculate(engine::Table& results);
// The same on the open competition's results table (the data module's `results`).
void recalculate();

// The gate of the report commands that print computed results. While a recalculation
// is due it shows "Please RECALC" and returns false; otherwise it returns true.
bool passRecalcGate();

} // namespace jt::scoring
