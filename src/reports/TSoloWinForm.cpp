#include "TSoloWinForm.h"

namespace jt::reports {

TSoloWinForm* SoloWinForm = nullptr;

TSoloWinForm::TSoloWinForm(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("SoloWinForm"));
    SoloWinForm = this;
}

TSoloWinForm::~TSoloWinForm() {
    if (SoloWinForm == this)
        SoloWinForm = nullptr;
}

} // namespace jt::reports
