#include "TFinalChk.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TFinalChk* FinalChk = nullptr;

TFinalChk::TFinalChk(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FinalChk"));
    platform::setHelpTopic(this, 310);
    FinalChk = this;
}

TFinalChk::~TFinalChk() {
    if (FinalChk == this)
        FinalChk = nullptr;
}

} // namespace jt::reports
