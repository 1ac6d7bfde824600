#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace jt {
class ProgramState;
}

namespace jt::engine {
class Table;
}

namespace jt::reports {

enum class Checklist;

// What the program can check for itself before a checklist is confirmed. The findings
// only inform: the tabulator's tick still decides whether the report runs.
enum class FindingKind {
    NumberTwice,         // one dancer number given to several dancers
    NoNumber,            // dancers without a dancer number
    NoSequence,          // dancers without a sequence number (no place in "As Danced")
    NoMarksAtAll,        // dancers without a single round mark: did they dance?
    MissingMarks,        // a mark field of the competition left blank for some dancers
    MarkOutOfRange,      // marks below 0 or above 100
    StrayMarks,          // marks for an adjudicator or round the competition does not have
    NoSetMarks,          // final: no set-dance mark at all
    SetMarksNotRecalled, // final: set-dance marks of dancers who are not recalled
    RecallTie,           // recall: equal recall totals that a cut could split
    NotChecked,          // the results table could not be read
};

struct ChecklistFinding {
    FindingKind kind;
    QString text;        // the line the checklist shows
    QStringList dancers; // dancer numbers concerned; a dancer without one by name
    friend bool operator==(const ChecklistFinding&, const ChecklistFinding&) = default;
};

// The findings over the open competition, read as stored (the results table through a
// handle of its own, the numbers of adjudicators and rounds from the info table). A
// table that cannot be read gives one NotChecked finding instead of an error.
std::vector<ChecklistFinding> checklistFindings(const ProgramState& state, Checklist checklist);

// The same over a results table (a closed one is opened for the look and closed again)
// and the competition's NUMADJS and NUMROUNDS. As in the reports, NUMADJS "3" means
// adjudicators A to C and anything else A to E; NUMROUNDS "3" means rounds 1 and 2 and
// anything else rounds 1 to 3. Round marks count as missing when blank; a set-dance
// mark counts as missing unless it is above 0, as in the scoring. The recall checklist
// looks at the rounds only; the final checklist adds the set dance of the recalled
// dancers. Tie groups are those of the recall report's positions (totals compared as
// printed with two decimals).
std::vector<ChecklistFinding> checklistFindings(engine::Table& results, const QString& numAdjs,
                                                const QString& numRounds, Checklist checklist);

} // namespace jt::reports
