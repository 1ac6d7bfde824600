#pragma once

#include "LaunchDialogBase.h"

#include <QCheckBox>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the winners roster, with the choice of championship kind, kept from one use to
// the next.
class TWinRep final : public LaunchDialogBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWinRep)

public:
    explicit TWinRep(ProgramState& state, QWidget* parent = nullptr);
    ~TWinRep() override;

    QCheckBox* Championship = nullptr;
};

// The program's instance (set while one exists).
extern TWinRep* WinRep;

} // namespace jt::reports
