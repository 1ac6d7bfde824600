#pragma once

#include "InfoFields.h"
#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::engine {
class Table;
}

namespace jt::reports {

// Adjudicator checksheet: everything the program holds for one adjudicator, dancer by
// dancer (round marks, subtotal and its grid points, set dance, total and its grid
// points), with a place to sign in the footer. One definition serves every adjudicator:
// setAdjudicator points its caption, name and columns at one of them.
class TAdjRecCheck final : public TitledReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAdjRecCheck)

public:
    explicit TAdjRecCheck(ProgramState& state, QObject* parent = nullptr);
    ~TAdjRecCheck() override;

    // "Adj. A:" with ADJANAME and the fields A1 ... AGRID2, and so on for B to E.
    void setAdjudicator(QChar letter);
    // The adjudicator's name comes from this table's one record.
    void bindInfo(engine::Table* info) const { m_info.bind(info); }

    render::Item* AdjCaption = nullptr; // "Adj. A:"
    render::Item* AdjName = nullptr;    // ADJANAME
    render::Item* Signed = nullptr;     // "Signed: " in the footer
    // The detail columns after the dancer's number: X1, X2, X3, XSUBTOTAL, XGRID1, XSET,
    // XTOTAL, XGRID2 for the adjudicator X last set.
    std::vector<render::Item*> Marks;

private:
    InfoFields m_info;
};

// The program's instance (set while one exists).
extern TAdjRecCheck* AdjRecCheck;

} // namespace jt::reports
