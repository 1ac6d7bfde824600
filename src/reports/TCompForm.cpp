#include "TCompForm.h"

namespace jt::reports {

TCompForm* CompForm = nullptr;

TCompForm::TCompForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CompForm"));
    CompForm = this;
}

TCompForm::~TCompForm() {
    if (CompForm == this)
        CompForm = nullptr;
}

} // namespace jt::reports
