#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Grid marks report: page settings, title band and footer; its columns are still to come.
class TAdjAForm final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAdjAForm)

public:
    explicit TAdjAForm(ProgramState& state, QObject* parent = nullptr);
    ~TAdjAForm() override;
};

// The program's instance (set while one exists).
extern TAdjAForm* AdjAForm;

} // namespace jt::reports
