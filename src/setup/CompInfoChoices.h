#pragma once

#include <QString>

namespace jt::engine {
class Field;
class Table;
} // namespace jt::engine

namespace jt::setup {

// The two choices of Competition Setup and the codes the info table stores for them:
// "No of Adjudicators" ("3 Adj" is "3", "5 Adj" is "5") in NUMADJS, and "Rounds"
// ("2 Rds + Set" is "3", "3 Rds + Set" is "4", counting the set dance) in NUMROUNDS.
// Anything else stored means the choice has not been made yet.
enum AdjudicatorItem { kThreeAdjudicators = 0, kFiveAdjudicators = 1 };
enum RoundsItem { kTwoRoundsAndSet = 0, kThreeRoundsAndSet = 1 };

// The item a stored code stands for, -1 when it stands for none.
int adjudicatorItemOf(const QString& numAdjs);
int roundsItemOf(const QString& numRounds);
// The code stored for an item.
QString adjudicatorCode(int item);
QString roundsCode(int item);

// Puts the info record into editing, stores the code and saves the record, with
// every other unsaved change in it. Engine errors pass on to the caller.
void storeChoice(engine::Table& compinfo, engine::Field& field, const QString& code);

} // namespace jt::setup
