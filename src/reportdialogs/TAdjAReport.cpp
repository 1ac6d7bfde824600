#include "TAdjAReport.h"

#include "reports/ReportCommands.h"

namespace jt::reports {

TAdjAReport* AdjAReport = nullptr;

TAdjAReport::TAdjAReport(ProgramState&, QWidget* parent)
    : LaunchDialogBase(LaunchDialog::GridMarks, QStringLiteral("AdjAReport"), kLaunchLines,
                       parent) {
    AdjAReport = this;
}

TAdjAReport::~TAdjAReport() {
    if (AdjAReport == this)
        AdjAReport = nullptr;
}

} // namespace jt::reports
