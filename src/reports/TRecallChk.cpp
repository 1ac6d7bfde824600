#include "TRecallChk.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TRecallChk* RecallChk = nullptr;

TRecallChk::TRecallChk(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RecallChk"));
    platform::setHelpTopic(this, 300);
    RecallChk = this;
}

TRecallChk::~TRecallChk() {
    if (RecallChk == this)
        RecallChk = nullptr;
}

} // namespace jt::reports
