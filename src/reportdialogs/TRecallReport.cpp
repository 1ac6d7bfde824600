#include "TRecallReport.h"

#include "reports/ReportCommands.h"

namespace jt::reports {

TRecallReport* RecallReport = nullptr;

TRecallReport::TRecallReport(ProgramState&, QWidget* parent)
    : LaunchDialogBase(LaunchDialog::RecallReport, QStringLiteral("RecallReport"), kLaunchLines,
                       parent) {
    RecallReport = this;
}

TRecallReport::~TRecallReport() {
    if (RecallReport == this)
        RecallReport = nullptr;
}

} // namespace jt::reports
