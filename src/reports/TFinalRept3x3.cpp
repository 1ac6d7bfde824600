#include "TFinalRept3x3.h"

namespace jt::reports {

TFinalRept3x3* FinalRept3x3 = nullptr;

TFinalRept3x3::TFinalRept3x3(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FinalRept3x3"));
    FinalRept3x3 = this;
}

TFinalRept3x3::~TFinalRept3x3() {
    if (FinalRept3x3 == this)
        FinalRept3x3 = nullptr;
}

} // namespace jt::reports
