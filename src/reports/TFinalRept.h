#pragma once

#include "FinalReportBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The final marks report for five adjudicators and three rounds.
class TFinalRept final : public FinalReportBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept)

public:
    explicit TFinalRept(ProgramState& state, QObject* parent = nullptr);
    ~TFinalRept() override;
};

// The program's instance (set while one exists).
extern TFinalRept* FinalRept;

} // namespace jt::reports
