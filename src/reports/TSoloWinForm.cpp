#include "TSoloWinForm.h"

namespace jt::reports {

TSoloWinForm* SoloWinForm = nullptr;

TSoloWinForm::TSoloWinForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SoloWinForm"));
    SoloWinForm = this;
}

TSoloWinForm::~TSoloWinForm() {
    if (SoloWinForm == this)
        SoloWinForm = nullptr;
}

} // namespace jt::reports
