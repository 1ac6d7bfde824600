#include "TRecallChk.h"

namespace jt::reports {

TRecallChk* RecallChk = nullptr;

TRecallChk::TRecallChk(ProgramState&, QWidget* parent)
    : ChecklistDialogBase(Checklist::Recall, QStringLiteral("RecallChk"), parent) {
    RecallChk = this;
}

TRecallChk::~TRecallChk() {
    if (RecallChk == this)
        RecallChk = nullptr;
}

} // namespace jt::reports
