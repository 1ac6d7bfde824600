#pragma once

#include "render/Definition.h"

namespace jt {
class ProgramState;
}

namespace jt::reports {

// The header sheet: the cover page of a competition's marks pack, one detail band that
// fills the page, printed from the info table even when it holds no record.
class THeader final : public render::ReportDefinition {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(THeader)

public:
    explicit THeader(ProgramState& state, QObject* parent = nullptr);
    ~THeader() override;

    render::Item* Logo = nullptr;
    render::Item* ReportTitle = nullptr; // its prefix is the event name
};

// The program's instance (set while one exists).
extern THeader* Header;

} // namespace jt::reports
