#include "TAdjAForm.h"

namespace jt::reports {

TAdjAForm* AdjAForm = nullptr;

TAdjAForm::TAdjAForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AdjAForm"));
    AdjAForm = this;
}

TAdjAForm::~TAdjAForm() {
    if (AdjAForm == this)
        AdjAForm = nullptr;
}

} // namespace jt::reports
