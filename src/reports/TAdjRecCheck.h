#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Adjudicator checksheet: page settings, title band and footer; its columns are still to come.
class TAdjRecCheck final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAdjRecCheck)

public:
    explicit TAdjRecCheck(ProgramState& state, QObject* parent = nullptr);
    ~TAdjRecCheck() override;
};

// The program's instance (set while one exists).
extern TAdjRecCheck* AdjRecCheck;

} // namespace jt::reports
