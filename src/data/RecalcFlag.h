#pragma once

namespace jt {

// True while the computed results of the open competition may be out of date: a
// record was posted or the competition was opened since the last recalculation.
extern bool ReCalcFlag;

} // namespace jt
