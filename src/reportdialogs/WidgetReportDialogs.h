#pragma once

#include "reports/ReportDialogs.h"

namespace jt::reports {

// The report commands' dialogs shown with the program's own windows (the instances
// created at start-up).
class WidgetReportDialogs final : public ReportDialogs {
public:
    bool showChecklist(Checklist checklist, const std::vector<ChecklistFinding>& findings) override;
    void showLaunchDialog(LaunchDialog dialog, const std::function<void()>& preview) override;
};

} // namespace jt::reports
