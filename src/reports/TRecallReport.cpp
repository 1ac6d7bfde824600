#include "TRecallReport.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TRecallReport* RecallReport = nullptr;

TRecallReport::TRecallReport(ProgramState& state, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("RecallReport"));
    platform::setHelpTopic(this, 300);
    RecallReport = this;
}

TRecallReport::~TRecallReport() {
    if (RecallReport == this)
        RecallReport = nullptr;
}

} // namespace jt::reports
