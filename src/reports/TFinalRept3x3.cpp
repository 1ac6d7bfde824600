#include "TFinalRept3x3.h"

namespace jt::reports {

TFinalRept3x3* FinalRept3x3 = nullptr;

TFinalRept3x3::TFinalRept3x3(ProgramState&, QObject* parent)
    : FinalReportBase(QStringLiteral("TFinalRept3x3"), QStringLiteral("FinalRept3x3"), 3, 2,
                      parent) {
    FinalRept3x3 = this;
}

TFinalRept3x3::~TFinalRept3x3() {
    if (FinalRept3x3 == this)
        FinalRept3x3 = nullptr;
}

} // namespace jt::reports
