#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Winners roster of a championship with recall: position, tie mark, number, name,
// school and grid total of each dancer who has a grid total, highest first.
class TWinReport final : public TitledReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWinReport)

public:
    explicit TWinReport(ProgramState& state, QObject* parent = nullptr);
    ~TWinReport() override;

    render::Item* Subtitle = nullptr;
};

// The program's instance (set while one exists).
extern TWinReport* WinReport;

} // namespace jt::reports
