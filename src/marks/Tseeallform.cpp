#include "Tseeallform.h"

namespace jt::marks {

Tseeallform* seeallform = nullptr;

Tseeallform::Tseeallform(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("seeallform"));
    seeallform = this;
}

Tseeallform::~Tseeallform() {
    if (seeallform == this)
        seeallform = nullptr;
}

} // namespace jt::marks
