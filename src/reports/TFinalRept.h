#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Final marks report, five adjudicators and three rounds: page settings, title band and footer; its
// columns are still to come.
class TFinalRept final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept)

public:
    explicit TFinalRept(ProgramState& state, QObject* parent = nullptr);
    ~TFinalRept() override;
};

// The program's instance (set while one exists).
extern TFinalRept* FinalRept;

} // namespace jt::reports
