#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Final marks report, five adjudicators and two rounds: page settings, title band and footer; its
// columns are still to come.
class TFinalRept5x3 final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept5x3)

public:
    explicit TFinalRept5x3(ProgramState& state, QObject* parent = nullptr);
    ~TFinalRept5x3() override;
};

// The program's instance (set while one exists).
extern TFinalRept5x3* FinalRept5x3;

} // namespace jt::reports
