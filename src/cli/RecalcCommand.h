#pragma once

#include "CliCommands.h"

namespace jt::cli {

// "recalc FILE.dbf": the recall stage and then the final stage on that results table,
// in place, as the recalculate button runs them.
Command recalcCommand();

} // namespace jt::cli
