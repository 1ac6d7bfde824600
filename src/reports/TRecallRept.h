#pragma once

#include "RecallReportBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The recall report for five adjudicators, A to E.
class TRecallRept final : public RecallReportBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallRept)

public:
    explicit TRecallRept(ProgramState& state, QObject* parent = nullptr);
    ~TRecallRept() override;
};

// The program's instance (set while one exists).
extern TRecallRept* RecallRept;

} // namespace jt::reports
