#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Final marks report, three adjudicators and three rounds: page settings, title band and footer;
// its columns are still to come.
class TFinalRept3x4 final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept3x4)

public:
    explicit TFinalRept3x4(ProgramState& state, QObject* parent = nullptr);
    ~TFinalRept3x4() override;
};

// The program's instance (set while one exists).
extern TFinalRept3x4* FinalRept3x4;

} // namespace jt::reports
