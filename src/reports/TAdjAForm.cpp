#include "TAdjAForm.h"

namespace jt::reports {

TAdjAForm* AdjAForm = nullptr;

TAdjAForm::TAdjAForm(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("AdjAForm"));
    AdjAForm = this;
}

TAdjAForm::~TAdjAForm() {
    if (AdjAForm == this)
        AdjAForm = nullptr;
}

} // namespace jt::reports
