#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Recall list: page settings, title band and footer; its columns are still to come.
class TRecalRead final : public PendingReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecalRead)

public:
    explicit TRecalRead(ProgramState& state, QObject* parent = nullptr);
    ~TRecalRead() override;
};

// The program's instance (set while one exists).
extern TRecalRead* RecalRead;

} // namespace jt::reports
