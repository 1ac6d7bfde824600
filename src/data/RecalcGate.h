#pragma once

namespace jt {

class ProgramState;

// The gate of the commands that print computed results. While a recalculation is due
// it shows "Please RECALC" and returns false; otherwise it returns true.
bool passRecalcGate(const ProgramState& state);

} // namespace jt
