#include "TAdjAReport.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TAdjAReport* AdjAReport = nullptr;

TAdjAReport::TAdjAReport(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("AdjAReport"));
    platform::setHelpTopic(this, 370);
    AdjAReport = this;
}

TAdjAReport::~TAdjAReport() {
    if (AdjAReport == this)
        AdjAReport = nullptr;
}

} // namespace jt::reports
