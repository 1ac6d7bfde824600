#pragma once

#include "RecallReportBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The recall report for three adjudicators, A to C.
class TRecallRept3 final : public RecallReportBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallRept3)

public:
    explicit TRecallRept3(ProgramState& state, QObject* parent = nullptr);
    ~TRecallRept3() override;
};

// The program's instance (set while one exists).
extern TRecallRept3* RecallRept3;

} // namespace jt::reports
