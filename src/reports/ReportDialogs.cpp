#include "ReportDialogs.h"

namespace jt::reports {
namespace {

class NoReportDialogs final : public ReportDialogs {
public:
    bool showChecklist(Checklist, const std::vector<ChecklistFinding>&) override { return false; }
    void showLaunchDialog(LaunchDialog, const std::function<void()>&) override {}
};

ReportDialogs* installed = nullptr;

} // namespace

ReportDialogs& reportDialogs() {
    if (installed)
        return *installed;
    static NoReportDialogs none;
    return none;
}

void setReportDialogs(ReportDialogs* dialogs) {
    installed = dialogs;
}

} // namespace jt::reports
