#include "TFinalRept.h"

namespace jt::reports {

TFinalRept* FinalRept = nullptr;

TFinalRept::TFinalRept(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FinalRept"));
    FinalRept = this;
}

TFinalRept::~TFinalRept() {
    if (FinalRept == this)
        FinalRept = nullptr;
}

} // namespace jt::reports
