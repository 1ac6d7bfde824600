#include "TRecallChk.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TRecallChk* RecallChk = nullptr;

TRecallChk::TRecallChk(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("RecallChk"));
    platform::setHelpTopic(this, 300);
    RecallChk = this;
}

TRecallChk::~TRecallChk() {
    if (RecallChk == this)
        RecallChk = nullptr;
}

} // namespace jt::reports
