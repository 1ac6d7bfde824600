#pragma once

#include "ReportCommands.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The "Preview" procedures of the grid marks, winners roster and solo launch dialogs:
// each prepares the results table with its working index, writes its fields, previews
// its definition and leaves the table closed, unfiltered, without working index and
// without sole use, also when a step fails (the error is thrown again afterwards). The
// laid-out report goes to show.
void previewGridMarks(ProgramState& state, const ShowReport& show = showInPreview);
// Ranks by GRIDTOTAL and lists the dancers with one when the championship includes a
// recall (launchChoices().championship), else ranks and lists every dancer by RECALLTTL.
void previewWinnersRoster(ProgramState& state, const ShowReport& show = showInPreview);
// Remembers the solo dialog's selections, ranks every dancer by the chosen mark into
// SOLOPOSN and SOLOCHAR and previews the solo result.
void previewSoloResult(ProgramState& state);

} // namespace jt::reports
