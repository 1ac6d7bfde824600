#pragma once

namespace jt {
class ProgramState;
}

namespace jt::render {
struct Document;
}

namespace jt::reports {

// The gates of the reports in the marks pack: the recalculation flag, then the final
// checklist (for the final marks report). False when one of them stopped it.
bool passMarksPackGates(ProgramState& state);

// The marks pack of the open competition in one document: the header sheet, the final
// marks report, the grid marks, the winners roster (the layout the roster's check box
// last chose) and every adjudicator's checksheet, in that order. Run it after the gates.
// The final marks report and the winners roster write POSITION as their own runs do; as
// after their launch dialogs, the flag is clear again afterwards, also when a part fails
// (the error is thrown).
render::Document layOutMarksPack(ProgramState& state);

// File > "Marks Pack to PDF...": the gates, then the file to write chosen in a save
// dialog, then the pack written into it and a word that it was.
void MarksPackToPdf(ProgramState& state);

} // namespace jt::reports
