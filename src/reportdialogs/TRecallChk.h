#pragma once

#include "ChecklistDialogBase.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The checklist confirmed before the recall report.
class TRecallChk final : public ChecklistDialogBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallChk)

public:
    explicit TRecallChk(ProgramState& state, QWidget* parent = nullptr);
    ~TRecallChk() override;
};

// The program's instance (set while one exists).
extern TRecallChk* RecallChk;

} // namespace jt::reports
