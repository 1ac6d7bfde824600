#pragma once

#include "FinalReportBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The final marks report for three adjudicators and two rounds.
class TFinalRept3x3 final : public FinalReportBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept3x3)

public:
    explicit TFinalRept3x3(ProgramState& state, QObject* parent = nullptr);
    ~TFinalRept3x3() override;
};

// The program's instance (set while one exists).
extern TFinalRept3x3* FinalRept3x3;

} // namespace jt::reports
