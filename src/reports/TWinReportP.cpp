#include "TWinReportP.h"

namespace jt::reports {

TWinReportP* WinReportP = nullptr;

TWinReportP::TWinReportP(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("WinReportP"));
    WinReportP = this;
}

TWinReportP::~TWinReportP() {
    if (WinReportP == this)
        WinReportP = nullptr;
}

} // namespace jt::reports
