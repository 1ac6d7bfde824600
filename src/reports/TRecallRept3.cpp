#include "TRecallRept3.h"

namespace jt::reports {

TRecallRept3* RecallRept3 = nullptr;

TRecallRept3::TRecallRept3(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("RecallRept3"));
    RecallRept3 = this;
}

TRecallRept3::~TRecallRept3() {
    if (RecallRept3 == this)
        RecallRept3 = nullptr;
}

} // namespace jt::reports
