#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Recall report, five adjudicators: page settings, title band and footer; its columns are still to
// come.
class TRecallRept final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallRept)

public:
    explicit TRecallRept(ProgramState& state, QObject* parent = nullptr);
    ~TRecallRept() override;
};

// The program's instance (set while one exists).
extern TRecallRept* RecallRept;

} // namespace jt::reports
