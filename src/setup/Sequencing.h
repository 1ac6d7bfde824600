#pragma once

namespace jt::engine {
class Field;
class Table;
} // namespace jt::engine

namespace jt::setup {

// The dancing order of Dancer Setup: sequence numbers given to the dancers of the open
// results table. Each runs with the bound controls frozen, and unfreezes them also when
// a save fails; engine errors pass on to the caller, the rows saved before stay.

// Numbers every dancer 1, 2, 3 ... in the table's order (entry order), overwriting
// the numbers there were. An empty table is left as it is.
void autoSequence(engine::Table& results, engine::Field& sequence);
// Blanks every dancer's sequence number.
void clearSequence(engine::Table& results, engine::Field& sequence);
// The highest sequence number of all dancers, 0 when none is above 0 (a blank counts as 0).
double highestSequence(engine::Table& results, const engine::Field& sequence);
// A double-click on the current dancer: one who has a number above 0 loses it (the
// others keep theirs, gaps and all); any other gets the highest number plus 1.
void toggleSequence(engine::Table& results, engine::Field& sequence);

} // namespace jt::setup
