#include "TRecalRead.h"

namespace jt::reports {

TRecalRead* RecalRead = nullptr;

TRecalRead::TRecalRead(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RecalRead"));
    RecalRead = this;
}

TRecalRead::~TRecalRead() {
    if (RecalRead == this)
        RecalRead = nullptr;
}

} // namespace jt::reports
