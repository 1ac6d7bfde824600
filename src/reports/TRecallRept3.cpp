#include "TRecallRept3.h"

namespace jt::reports {

TRecallRept3* RecallRept3 = nullptr;

TRecallRept3::TRecallRept3(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RecallRept3"));
    RecallRept3 = this;
}

TRecallRept3::~TRecallRept3() {
    if (RecallRept3 == this)
        RecallRept3 = nullptr;
}

} // namespace jt::reports
