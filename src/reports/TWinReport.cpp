#include "TWinReport.h"

namespace jt::reports {

TWinReport* WinReport = nullptr;

TWinReport::TWinReport(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("WinReport"));
    WinReport = this;
}

TWinReport::~TWinReport() {
    if (WinReport == this)
        WinReport = nullptr;
}

} // namespace jt::reports
