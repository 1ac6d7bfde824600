#pragma once

namespace jt::engine {
class Table;
}

namespace jt::scoring {

// The whole calculation on a results table: the recall stage, then the final stage.
// When a stage fails the engine's error propagates and fields may be half-computed;
// the caller decides what that means for the program (the program keeps its results
// marked out of date).
void recalculate(engine::Table& results);

} // namespace jt::scoring
