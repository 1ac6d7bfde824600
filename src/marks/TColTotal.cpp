#include "TColTotal.h"

#include "platform/HelpTopic.h"

namespace jt::marks {

TColTotal* ColTotal = nullptr;

TColTotal::TColTotal(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("ColTotal"));
    platform::setHelpTopic(this, 400);
    ColTotal = this;
}

TColTotal::~TColTotal() {
    if (ColTotal == this)
        ColTotal = nullptr;
}

} // namespace jt::marks
