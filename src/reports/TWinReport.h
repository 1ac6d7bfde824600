#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Winners roster of a championship with recall: page settings, title band and footer; its columns
// are still to come.
class TWinReport final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWinReport)

public:
    explicit TWinReport(ProgramState& state, QObject* parent = nullptr);
    ~TWinReport() override;
};

// The program's instance (set while one exists).
extern TWinReport* WinReport;

} // namespace jt::reports
