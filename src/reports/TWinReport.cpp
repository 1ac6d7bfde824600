#include "TWinReport.h"

namespace jt::reports {

TWinReport* WinReport = nullptr;

TWinReport::TWinReport(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("WinReport"));
    WinReport = this;
}

TWinReport::~TWinReport() {
    if (WinReport == this)
        WinReport = nullptr;
}

} // namespace jt::reports
