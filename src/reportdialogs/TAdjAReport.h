#pragma once

#include "LaunchDialogBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the grid marks report.
class TAdjAReport final : public LaunchDialogBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAdjAReport)

public:
    explicit TAdjAReport(ProgramState& state, QWidget* parent = nullptr);
    ~TAdjAReport() override;
};

// The program's instance (set while one exists).
extern TAdjAReport* AdjAReport;

} // namespace jt::reports
