#pragma once

#include "LaunchChoices.h"

#include <QString>

namespace jt::engine {
class Table;
}

namespace jt::reports {

// The solo dialog's lists from the info table's record (three or five adjudicators; two
// or three rounds and the set dance), with the remembered positions preselected: a
// remembered D or E becomes C for three adjudicators, a remembered position past the
// set dance of a two-round competition becomes its set dance.
SoloLists soloDialogLists(const engine::Table& info, int rememberedAdjudicator,
                          int rememberedRound);

// The mark field of the adjudicator and round positions: "B2", "DSet".
QString soloMarkField(int adjudicator, int round, const QString& numRounds);

// The solo ranking over a table in descending mark order: every SOLOCHAR and SOLOPOSN
// emptied; then runs of equal marks (equal at four decimal places) marked "T" on their
// first record and "=" on the others; then SOLOPOSN by the usual sports ranking (85, 80,
// 80, 75 give 1, 2, 2, 4). Each change is posted; the table ends on its first record.
void rankSolo(engine::Table& table, const QString& markField);

} // namespace jt::reports
