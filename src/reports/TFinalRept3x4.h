#pragma once

#include "FinalReportBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The final marks report for three adjudicators and three rounds.
class TFinalRept3x4 final : public FinalReportBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept3x4)

public:
    explicit TFinalRept3x4(ProgramState& state, QObject* parent = nullptr);
    ~TFinalRept3x4() override;
};

// The program's instance (set while one exists).
extern TFinalRept3x4* FinalRept3x4;

} // namespace jt::reports
