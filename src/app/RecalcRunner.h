#pragma once

namespace jt {
class ProgramState;
}

namespace jt::app {

// Recalculates the open competition the way the program offers it: the hourglass while
// it runs, the results marked up to date when both stages finish. A failure leaves
// them marked out of date (fields may be half-computed) and is shown in the general
// error display once the hourglass has gone. Returns whether it finished.
bool runRecalculation(ProgramState& state) noexcept;

} // namespace jt::app
