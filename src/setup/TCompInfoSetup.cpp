#include "TCompInfoSetup.h"

#include "platform/HelpTopic.h"

namespace jt::setup {

TCompInfoSetup* CompInfoSetup = nullptr;

TCompInfoSetup::TCompInfoSetup(ProgramState& state, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("CompInfoSetup"));
    platform::setHelpTopic(this, 550);
    CompInfoSetup = this;
}

TCompInfoSetup::~TCompInfoSetup() {
    if (CompInfoSetup == this)
        CompInfoSetup = nullptr;
}

} // namespace jt::setup
