#include "TRecallRept3.h"

namespace jt::reports {

TRecallRept3* RecallRept3 = nullptr;

TRecallRept3::TRecallRept3(ProgramState&, QObject* parent)
    : RecallReportBase(QStringLiteral("TRecallRept3"), QStringLiteral("RecallRept3"), 3, parent) {
    RecallRept3 = this;
}

TRecallRept3::~TRecallRept3() {
    if (RecallRept3 == this)
        RecallRept3 = nullptr;
}

} // namespace jt::reports
