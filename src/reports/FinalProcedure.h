#pragma once

#include "ReportCommands.h"

#include <QString>

namespace jt {
class ProgramState;
}

namespace jt::reports {

class FinalReportBase;

// The final marks layout for the competition's NUMADJS and NUMROUNDS, the stored texts
// compared exactly: "3" adjudicators gives three blocks and any other value five;
// NUMROUNDS "3" (two rounds and the set) gives two round columns and any other value
// three.
FinalReportBase& finalLayout(const QString& numAdjs, const QString& numRounds);

// "Preview" of the final marks report's launch dialog: ranks the dancers by grid total
// into POSITION and previews the chosen layout in final order, titled with the
// competition's display name. The results table ends closed, without working index and
// without sole use; errors are thrown. The laid-out report goes to show.
void previewFinalReport(ProgramState& state, const ShowReport& show = showInPreview);

} // namespace jt::reports
