#include "TWinRep.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TWinRep* WinRep = nullptr;

TWinRep::TWinRep(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("WinRep"));
    platform::setHelpTopic(this, 360);
    WinRep = this;
}

TWinRep::~TWinRep() {
    if (WinRep == this)
        WinRep = nullptr;
}

} // namespace jt::reports
