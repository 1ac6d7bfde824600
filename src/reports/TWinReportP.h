#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Winners roster of a competition without recall: position, number, name, school and
// recall total of every dancer, highest first; no footer on the last page.
class TWinReportP final : public TitledReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWinReportP)

public:
    explicit TWinReportP(ProgramState& state, QObject* parent = nullptr);
    ~TWinReportP() override;

    render::Item* Subtitle = nullptr;
};

// The program's instance (set while one exists).
extern TWinReportP* WinReportP;

} // namespace jt::reports
