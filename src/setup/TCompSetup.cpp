#include "TCompSetup.h"

#include "platform/HelpTopic.h"

namespace jt::setup {

TCompSetup* CompSetup = nullptr;

TCompSetup::TCompSetup(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("CompSetup"));
    platform::setHelpTopic(this, 330);
    CompSetup = this;
}

TCompSetup::~TCompSetup() {
    if (CompSetup == this)
        CompSetup = nullptr;
}

} // namespace jt::setup
