#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::engine {
class Table;
}

namespace jt::reports {

// The recall list: the recalled dancers' numbers in dancing order, each row with empty
// "Speed" and "Set Dance" boxes to be written in by hand. Its record source is the
// recall list table RecalTmp.
class TRecalRead final : public TitledReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecalRead)

public:
    explicit TRecalRead(ProgramState& state, QObject* parent = nullptr);
    ~TRecalRead() override;

    // The recall list table "RecalTmp.dbf", beside the competition tables.
    engine::Table* RecalTmp = nullptr;
};

// The program's instance (set while one exists).
extern TRecalRead* RecalRead;

} // namespace jt::reports
