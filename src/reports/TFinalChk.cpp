#include "TFinalChk.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TFinalChk* FinalChk = nullptr;

TFinalChk::TFinalChk(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("FinalChk"));
    platform::setHelpTopic(this, 310);
    FinalChk = this;
}

TFinalChk::~TFinalChk() {
    if (FinalChk == this)
        FinalChk = nullptr;
}

} // namespace jt::reports
