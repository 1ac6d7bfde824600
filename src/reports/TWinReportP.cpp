#include "TWinReportP.h"

namespace jt::reports {

TWinReportP* WinReportP = nullptr;

TWinReportP::TWinReportP(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("WinReportP"));
    WinReportP = this;
}

TWinReportP::~TWinReportP() {
    if (WinReportP == this)
        WinReportP = nullptr;
}

} // namespace jt::reports
