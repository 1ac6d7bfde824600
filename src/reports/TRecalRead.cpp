#include "TRecalRead.h"

namespace jt::reports {

TRecalRead* RecalRead = nullptr;

TRecalRead::TRecalRead(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("RecalRead"));
    RecalRead = this;
}

TRecalRead::~TRecalRead() {
    if (RecalRead == this)
        RecalRead = nullptr;
}

} // namespace jt::reports
