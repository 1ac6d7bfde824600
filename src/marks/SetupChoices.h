#pragma once

#include <optional>

namespace jt::marks {

// What Enter Marks needs of the Competition Setup window's two choice groups: the
// numbers they show, used when the info table has not stored its own, and a way of
// bringing them into line with what is stored (without writing anything).
class SetupChoices {
public:
    virtual ~SetupChoices() = default;
    // The "No of Adjudicators" selection: 3 or 5.
    virtual int adjudicators() const = 0;
    // The "Rounds" selection: 2 or 3 (the set dance not counted).
    virtual int rounds() const = 0;
    // A stored number sets its group and checks its "Locked" box; an unknown one (none)
    // clears the "Locked" box and leaves the group as it is.
    virtual void bringIntoLine(std::optional<int> adjudicators, std::optional<int> rounds) = 0;
};

// The selection kept as a value, for a program without the Competition Setup window:
// three adjudicators and two rounds until something else is shown.
class RememberedSetupChoices final : public SetupChoices {
public:
    int adjudicators() const override { return m_adjudicators; }
    int rounds() const override { return m_rounds; }
    void bringIntoLine(std::optional<int> adjudicators, std::optional<int> rounds) override {
        if (adjudicators)
            m_adjudicators = *adjudicators;
        if (rounds)
            m_rounds = *rounds;
    }

private:
    int m_adjudicators = 3;
    int m_rounds = 2;
};

} // namespace jt::marks
