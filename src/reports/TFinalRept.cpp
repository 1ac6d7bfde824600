#include "TFinalRept.h"

namespace jt::reports {

TFinalRept* FinalRept = nullptr;

TFinalRept::TFinalRept(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("FinalRept"));
    FinalRept = this;
}

TFinalRept::~TFinalRept() {
    if (FinalRept == this)
        FinalRept = nullptr;
}

} // namespace jt::reports
