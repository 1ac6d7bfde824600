#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Recall report, three adjudicators: page settings, title band and footer; its columns are still to
// come.
class TRecallRept3 final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallRept3)

public:
    explicit TRecallRept3(ProgramState& state, QObject* parent = nullptr);
    ~TRecallRept3() override;
};

// The program's instance (set while one exists).
extern TRecallRept3* RecallRept3;

} // namespace jt::reports
