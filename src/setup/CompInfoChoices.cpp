#include "CompInfoChoices.h"

#include "engine/Table.h"

namespace jt::setup {

int adjudicatorItemOf(const QString& numAdjs) {
    if (numAdjs == QLatin1String("3"))
        return kThreeAdjudicators;
    if (numAdjs == QLatin1String("5"))
        return kFiveAdjudicators;
    return -1;
}

int roundsItemOf(const QString& numRounds) {
    if (numRounds == QLatin1String("3"))
        return kTwoRoundsAndSet;
    if (numRounds == QLatin1String("4"))
        return kThreeRoundsAndSet;
    return -1;
}

QString adjudicatorCode(int item) {
    return item == kFiveAdjudicators ? QStringLiteral("5") : QStringLiteral("3");
}

QString roundsCode(int item) {
    return item == kThreeRoundsAndSet ? QStringLiteral("4") : QStringLiteral("3");
}

void storeChoice(engine::Table& compinfo, engine::Field& field, const QString& code) {
    compinfo.edit();
    field.setAsString(code);
    compinfo.post();
}

} // namespace jt::setup
