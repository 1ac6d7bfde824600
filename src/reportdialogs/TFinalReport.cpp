#include "TFinalReport.h"

#include "reports/ReportCommands.h"

namespace jt::reports {

TFinalReport* FinalReport = nullptr;

TFinalReport::TFinalReport(ProgramState&, QWidget* parent)
    : LaunchDialogBase(LaunchDialog::FinalReport, QStringLiteral("FinalReport"), kLaunchLines,
                       parent) {
    FinalReport = this;
}

TFinalReport::~TFinalReport() {
    if (FinalReport == this)
        FinalReport = nullptr;
}

} // namespace jt::reports
