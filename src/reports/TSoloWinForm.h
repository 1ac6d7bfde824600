#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Solo result: page settings, title band and footer; its columns are still to come.
class TSoloWinForm final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSoloWinForm)

public:
    explicit TSoloWinForm(ProgramState& state, QObject* parent = nullptr);
    ~TSoloWinForm() override;
};

// The program's instance (set while one exists).
extern TSoloWinForm* SoloWinForm;

} // namespace jt::reports
