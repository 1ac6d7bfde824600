#include "TFinalRept3x4.h"

namespace jt::reports {

TFinalRept3x4* FinalRept3x4 = nullptr;

TFinalRept3x4::TFinalRept3x4(ProgramState&, QObject* parent)
    : FinalReportBase(QStringLiteral("TFinalRept3x4"), QStringLiteral("FinalRept3x4"), 3, 3,
                      parent) {
    FinalRept3x4 = this;
}

TFinalRept3x4::~TFinalRept3x4() {
    if (FinalRept3x4 == this)
        FinalRept3x4 = nullptr;
}

} // namespace jt::reports
