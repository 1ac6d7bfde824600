#pragma once

namespace jt::engine {
class Table;
}

namespace jt::scoring {

// The recall stage over every record of the results table: each adjudicator's
// subtotal of rounds 1 to 3, first grid points from the subtotals, RECALLTTL and the
// recall tie marks RECALLCHAR. All five adjudicators every time; empty marks are 0.
// Leaves the table closed, in record order, not in sole use. Throws EngineError; the
// passes that ran keep what they wrote, the later ones do not run.
void IntermediateGrid1Click(engine::Table& results);

// The final stage: each adjudicator's total of subtotal plus set-dance mark for the
// dancers with a set-dance mark above 0 (0 for the others), second grid points from
// the totals, GRIDTOTAL and the final tie marks FINALCHAR. Relies on the subtotals of
// the recall stage. Same state afterwards and same failures as the recall stage.
void FinalGrid1Click(engine::Table& results);

} // namespace jt::scoring
