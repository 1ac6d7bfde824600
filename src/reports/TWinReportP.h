#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Winners roster of a competition without recall: page settings, title band and footer; its columns
// are still to come.
class TWinReportP final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWinReportP)

public:
    explicit TWinReportP(ProgramState& state, QObject* parent = nullptr);
    ~TWinReportP() override;
};

// The program's instance (set while one exists).
extern TWinReportP* WinReportP;

} // namespace jt::reports
