#include "TFinalRept.h"

namespace jt::reports {

TFinalRept* FinalRept = nullptr;

TFinalRept::TFinalRept(ProgramState&, QObject* parent)
    : FinalReportBase(QStringLiteral("TFinalRept"), QStringLiteral("FinalRept"), 5, 3, parent) {
    FinalRept = this;
}

TFinalRept::~TFinalRept() {
    if (FinalRept == this)
        FinalRept = nullptr;
}

} // namespace jt::reports
