#include "TRecallRept.h"

namespace jt::reports {

TRecallRept* RecallRept = nullptr;

TRecallRept::TRecallRept(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RecallRept"));
    RecallRept = this;
}

TRecallRept::~TRecallRept() {
    if (RecallRept == this)
        RecallRept = nullptr;
}

} // namespace jt::reports
