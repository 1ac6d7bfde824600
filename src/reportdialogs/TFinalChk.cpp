#include "TFinalChk.h"

namespace jt::reports {

TFinalChk* FinalChk = nullptr;

TFinalChk::TFinalChk(ProgramState&, QWidget* parent)
    : ChecklistDialogBase(Checklist::Final, QStringLiteral("FinalChk"), parent) {
    FinalChk = this;
}

TFinalChk::~TFinalChk() {
    if (FinalChk == this)
        FinalChk = nullptr;
}

} // namespace jt::reports
