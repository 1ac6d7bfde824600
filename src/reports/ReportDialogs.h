#pragma once

#include "ChecklistFindings.h"

#include <functional>
#include <vector>

namespace jt::reports {

enum class Checklist { Recall, Final };
enum class LaunchDialog { RecallReport, FinalReport, GridMarks, WinnersRoster, SoloResult };

// The checklist and launch dialogs of the report commands. The windowed program shows
// its dialogs; tests and the command-line program answer them themselves.
class ReportDialogs {
public:
    virtual ~ReportDialogs() = default;
    // Shows the checklist dialog with its box "Checklist completed" cleared and, below
    // its lines, what the program found for itself; true when the box was ticked when
    // the dialog closed. The findings never decide: the box alone does.
    virtual bool showChecklist(Checklist checklist,
                               const std::vector<ChecklistFinding>& findings) = 0;
    // Shows the launch dialog modally. "Preview" runs preview (under the general error
    // display) and closes the dialog; "Cancel" closes it.
    virtual void showLaunchDialog(LaunchDialog dialog, const std::function<void()>& preview) = 0;
};

// The dialogs installed; with none, checklists stay unticked and launch dialogs close
// without a preview (nothing is printed without a person's say).
ReportDialogs& reportDialogs();
// The caller keeps ownership; nullptr goes back to the default.
void setReportDialogs(ReportDialogs* dialogs);

} // namespace jt::reports
