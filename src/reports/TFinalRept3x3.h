#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Final marks report, three adjudicators and two rounds: page settings, title band and footer; its
// columns are still to come.
class TFinalRept3x3 final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept3x3)

public:
    explicit TFinalRept3x3(ProgramState& state, QObject* parent = nullptr);
    ~TFinalRept3x3() override;
};

// The program's instance (set while one exists).
extern TFinalRept3x3* FinalRept3x3;

} // namespace jt::reports
