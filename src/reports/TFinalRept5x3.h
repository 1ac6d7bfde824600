#pragma once

#include "FinalReportBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The final marks report for five adjudicators and two rounds.
class TFinalRept5x3 final : public FinalReportBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept5x3)

public:
    explicit TFinalRept5x3(ProgramState& state, QObject* parent = nullptr);
    ~TFinalRept5x3() override;
};

// The program's instance (set while one exists).
extern TFinalRept5x3* FinalRept5x3;

} // namespace jt::reports
