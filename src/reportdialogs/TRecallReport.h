#pragma once

#include "LaunchDialogBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the recall report and recall list.
class TRecallReport final : public LaunchDialogBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallReport)

public:
    explicit TRecallReport(ProgramState& state, QWidget* parent = nullptr);
    ~TRecallReport() override;
};

// The program's instance (set while one exists).
extern TRecallReport* RecallReport;

} // namespace jt::reports
