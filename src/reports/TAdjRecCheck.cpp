#include "TAdjRecCheck.h"

namespace jt::reports {

TAdjRecCheck* AdjRecCheck = nullptr;

TAdjRecCheck::TAdjRecCheck(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AdjRecCheck"));
    AdjRecCheck = this;
}

TAdjRecCheck::~TAdjRecCheck() {
    if (AdjRecCheck == this)
        AdjRecCheck = nullptr;
}

} // namespace jt::reports
