#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::engine {
class Table;
}

namespace jt::reports {

// Grid marks report: each adjudicator's final grid points and the grid total of every
// dancer who has one, in competitor number order, always with five adjudicator columns.
class TAdjAForm final : public TitledReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAdjAForm)

public:
    explicit TAdjAForm(ProgramState& state, QObject* parent = nullptr);
    ~TAdjAForm() override;

    // The adjudicator names above the columns come from this table's one record.
    void setInfoTable(engine::Table* info);

    render::Item* Subtitle = nullptr;

private:
    std::vector<render::Item*> m_infoItems;
};

// The program's instance (set while one exists).
extern TAdjAForm* AdjAForm;

} // namespace jt::reports
