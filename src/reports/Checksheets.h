#pragma once

#include <QString>

#include <vector>

namespace jt {
class ProgramState;
}

namespace jt::render {
struct Document;
}

namespace jt::reports {

// The adjudicators who get a checksheet: A, B and C, and D and E as well only when
// NUMADJS is exactly "5".
QString checksheetLetters(const QString& numAdjs);

// Lays out one checksheet per adjudicator, in letter order, over every dancer in dancing
// order: the results table opened (not for sole use) with the index "seqno" current,
// titled with the competition's COMPNAME. The table ends with no index current and
// closed, also when a step fails (the error is thrown again afterwards).
std::vector<render::Document> layOutChecksheets(ProgramState& state);

} // namespace jt::reports
