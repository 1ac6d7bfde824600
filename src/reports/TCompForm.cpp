#include "TCompForm.h"

namespace jt::reports {

TCompForm* CompForm = nullptr;

TCompForm::TCompForm(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("CompForm"));
    CompForm = this;
}

TCompForm::~TCompForm() {
    if (CompForm == this)
        CompForm = nullptr;
}

} // namespace jt::reports
