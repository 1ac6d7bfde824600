#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The competitor list: number, name and school of every dancer in the results table's
// current order, under the common title band, with the event name as banner.
class TCompForm final : public TitledReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCompForm)

public:
    explicit TCompForm(ProgramState& state, QObject* parent = nullptr);
    ~TCompForm() override;
};

// The program's instance (set while one exists).
extern TCompForm* CompForm;

} // namespace jt::reports
