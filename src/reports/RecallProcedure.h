#pragma once

#include <QString>

namespace jt {
class ProgramState;
}

namespace jt::reports {

class RecallReportBase;

inline const QString kRecallListCaption = QStringLiteral("Recall List");
inline const QString kRecallCountPrompt = QStringLiteral("Recall how many? (0 for no list)");
inline const QString kRecallCountDefault = QStringLiteral("0");
inline const QString kRecalTmpFile = QStringLiteral("RecalTmp.dbf");

// The answer to "Recall how many?" as a whole number: leading blanks and a sign are
// read, reading stops at the first character that is not a digit ("12abc" is 12), and
// an answer without leading digits counts as 0. Numbers beyond int's range are held at
// its limits.
int readRecallCount(const QString& answer);

// The recall report's layout for the competition's NUMADJS: three grid columns for "3",
// five for any other value, blank included.
RecallReportBase& recallLayout(const QString& numAdjs);

// "Preview" of the recall report's launch dialog: ranks the dancers by recall total into
// POSITION, previews the recall report, asks how many are recalled and, for N > 0,
// sets RECALLED for exactly the first N in recall order (false for the rest), copies
// them into RecalTmp and previews the recall list in dancing order. The results table
// ends closed, without working index and without sole use; errors are thrown.
void previewRecallReport(ProgramState& state);

} // namespace jt::reports
