#pragma once

#include "TitledReport.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Solo result: every dancer ranked by one adjudicator's mark in one round, with the
// place and tie mark the solo ranking stored, highest mark first.
class TSoloWinForm final : public TitledReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSoloWinForm)

public:
    explicit TSoloWinForm(ProgramState& state, QObject* parent = nullptr);
    ~TSoloWinForm() override;

    render::Item* AdjCaption = nullptr;   // the adjudicator's name
    render::Item* Separator = nullptr;    // "/"
    render::Item* RoundCaption = nullptr; // the round's title
    render::Item* Marks = nullptr;        // its field is the chosen mark field
};

// The program's instance (set while one exists).
extern TSoloWinForm* SoloWinForm;

} // namespace jt::reports
