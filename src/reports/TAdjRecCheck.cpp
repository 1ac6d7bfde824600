#include "TAdjRecCheck.h"

namespace jt::reports {

TAdjRecCheck* AdjRecCheck = nullptr;

TAdjRecCheck::TAdjRecCheck(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("AdjRecCheck"));
    AdjRecCheck = this;
}

TAdjRecCheck::~TAdjRecCheck() {
    if (AdjRecCheck == this)
        AdjRecCheck = nullptr;
}

} // namespace jt::reports
