#include "TFinalReport.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TFinalReport* FinalReport = nullptr;

TFinalReport::TFinalReport(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("FinalReport"));
    platform::setHelpTopic(this, 310);
    FinalReport = this;
}

TFinalReport::~TFinalReport() {
    if (FinalReport == this)
        FinalReport = nullptr;
}

} // namespace jt::reports
