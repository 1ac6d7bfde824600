#include "TRecallRept.h"

namespace jt::reports {

TRecallRept* RecallRept = nullptr;

TRecallRept::TRecallRept(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("RecallRept"));
    RecallRept = this;
}

TRecallRept::~TRecallRept() {
    if (RecallRept == this)
        RecallRept = nullptr;
}

} // namespace jt::reports
