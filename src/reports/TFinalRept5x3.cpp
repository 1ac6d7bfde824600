#include "TFinalRept5x3.h"

namespace jt::reports {

TFinalRept5x3* FinalRept5x3 = nullptr;

TFinalRept5x3::TFinalRept5x3(ProgramState&, QObject* parent)
    : FinalReportBase(QStringLiteral("TFinalRept5x3"), QStringLiteral("FinalRept5x3"), 5, 2,
                      parent) {
    FinalRept5x3 = this;
}

TFinalRept5x3::~TFinalRept5x3() {
    if (FinalRept5x3 == this)
        FinalRept5x3 = nullptr;
}

} // namespace jt::reports
