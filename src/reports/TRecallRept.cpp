#include "TRecallRept.h"

namespace jt::reports {

TRecallRept* RecallRept = nullptr;

TRecallRept::TRecallRept(ProgramState&, QObject* parent)
    : RecallReportBase(QStringLiteral("TRecallRept"), QStringLiteral("RecallRept"), 5, parent) {
    RecallRept = this;
}

TRecallRept::~TRecallRept() {
    if (RecallRept == this)
        RecallRept = nullptr;
}

} // namespace jt::reports
