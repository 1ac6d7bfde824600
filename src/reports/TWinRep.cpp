#include "TWinRep.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TWinRep* WinRep = nullptr;

TWinRep::TWinRep(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("WinRep"));
    platform::setHelpTopic(this, 360);
    WinRep = this;
}

TWinRep::~TWinRep() {
    if (WinRep == this)
        WinRep = nullptr;
}

} // namespace jt::reports
