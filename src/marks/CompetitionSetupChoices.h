#pragma once

#include "SetupChoices.h"

namespace jt::marks {

// The program's Competition Setup window as Enter Marks sees it: its "No of Adjudicators"
// and "Rounds" selections and their "Locked" boxes. Bringing it into line sets the
// selections without storing them (the window stores only what the user chooses). While
// no such window exists, a remembered value stands in for it.
class CompetitionSetupChoices final : public SetupChoices {
public:
    int adjudicators() const override;
    int rounds() const override;
    void bringIntoLine(std::optional<int> adjudicators, std::optional<int> rounds) override;

private:
    RememberedSetupChoices m_remembered;
};

} // namespace jt::marks
