#pragma once

#include "LaunchDialogBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the final marks report.
class TFinalReport final : public LaunchDialogBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalReport)

public:
    explicit TFinalReport(ProgramState& state, QWidget* parent = nullptr);
    ~TFinalReport() override;
};

// The program's instance (set while one exists).
extern TFinalReport* FinalReport;

} // namespace jt::reports
