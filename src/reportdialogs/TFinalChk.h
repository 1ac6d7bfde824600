#pragma once

#include "ChecklistDialogBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The checklist confirmed before the final marks report.
class TFinalChk final : public ChecklistDialogBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalChk)

public:
    explicit TFinalChk(ProgramState& state, QWidget* parent = nullptr);
    ~TFinalChk() override;
};

// The program's instance (set while one exists).
extern TFinalChk* FinalChk;

} // namespace jt::reports
