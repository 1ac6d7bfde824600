#include "CompetitionSetupChoices.h"

#include "setup/CompInfoChoices.h"
#include "setup/RadioGroup.h"
#include "setup/TCompInfoSetup.h"

#include <QCheckBox>

namespace jt::marks {

int CompetitionSetupChoices::adjudicators() const {
    if (const setup::TCompInfoSetup* w = setup::CompInfoSetup)
        return w->AdjGroup->itemIndex() == setup::kFiveAdjudicators ? 5 : 3;
    return m_remembered.adjudicators();
}

int CompetitionSetupChoices::rounds() const {
    if (const setup::TCompInfoSetup* w = setup::CompInfoSetup)
        return w->RdsGroup->itemIndex() == setup::kThreeRoundsAndSet ? 3 : 2;
    return m_remembered.rounds();
}

void CompetitionSetupChoices::bringIntoLine(std::optional<int> adjudicators,
                                            std::optional<int> rounds) {
    m_remembered.bringIntoLine(adjudicators, rounds);
    setup::TCompInfoSetup* w = setup::CompInfoSetup;
    if (!w)
        return;
    if (adjudicators)
        w->AdjGroup->setItemIndex(*adjudicators == 5 ? setup::kFiveAdjudicators
                                                     : setup::kThreeAdjudicators);
    w->AdjLocked->setChecked(adjudicators.has_value());
    if (rounds)
        w->RdsGroup->setItemIndex(*rounds == 3 ? setup::kThreeRoundsAndSet
                                               : setup::kTwoRoundsAndSet);
    w->RdsLocked->setChecked(rounds.has_value());
}

} // namespace jt::marks
