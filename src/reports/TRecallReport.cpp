#include "TRecallReport.h"

#include "platform/HelpTopic.h"

namespace jt::reports {

TRecallReport* RecallReport = nullptr;

TRecallReport::TRecallReport(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RecallReport"));
    platform::setHelpTopic(this, 300);
    RecallReport = this;
}

TRecallReport::~TRecallReport() {
    if (RecallReport == this)
        RecallReport = nullptr;
}

} // namespace jt::reports
