#pragma once

#include "ReportDialogs.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace jt {
class ProgramState;
}

namespace jt::render {
class ReportDefinition;
struct Document;
} // namespace jt::render

namespace jt::reports {

// What a report command passes before anything is printed.
enum class Gate { None, Recalc, RecalcThenRecallChecklist, RecalcThenFinalChecklist };

// One command of the Reports menu.
struct ReportCommand {
    QString menuItem; // the menu item's object name, "ListCompetitors1"
    QString caption;  // "&Competitor List"
    QString handler;  // "ListCompetitors1Click"
    QString cliName;  // the name jigtally-cli knows it by, "competitors"
    Gate gate;
    void (*run)(ProgramState& state);
};

// The eight commands in menu order.
const std::vector<ReportCommand>& reportCommands();
// The command of that handler, menu item or command-line name; nullptr when none is.
const ReportCommand* findReportCommand(const QString& name);

// The handlers. Each runs on the open competition of the state; errors of the table
// store are thrown for the general error display.
void ListCompetitors1Click(ProgramState& state);
void Print1Click(ProgramState& state);
void RecallChecklists1Click(ProgramState& state);
void FinalResults1Click(ProgramState& state);
void HeaderSheet1Click(ProgramState& state);
void ResultsbyAdjA1Click(ProgramState& state);
void WinnersList1Click(ProgramState& state);
void SoloWinners1Click(ProgramState& state);

// The checklist gate: the dialog with its box cleared and the program's own findings
// about the open competition; unticked, the warning "Please complete checklist before
// printing report" and false.
bool passChecklistGate(const ProgramState& state, Checklist checklist);
// Shows the launch dialog ("Preview" runs preview under the general error display),
// then clears the recalculation flag: the report's own writes must leave none due.
void runLaunchDialog(ProgramState& state, LaunchDialog dialog,
                     const std::function<void()>& preview);
// Lays the definition out over its record source as it stands, logo files from the data
// folder first (one that cannot be read is reported and the old picture kept).
render::Document layOutReport(const ProgramState& state, render::ReportDefinition& report);
// Lays the definition out and previews it; the procedure waits until the preview is
// closed.
void previewReport(const ProgramState& state, render::ReportDefinition& report);
// Where a report's procedure sends the report it laid out: to the preview window
// (showInPreview, which returns when it is closed), or to the marks pack gathering its
// parts.
using ShowReport = std::function<void(const render::Document&)>;
void showInPreview(const render::Document& document);
// Lays out the header sheet, titled with the stored event name ("Jigtally Software"
// when the settings key will not open).
render::Document layOutHeaderSheet(ProgramState& state);

// Texts of the dialogs.
struct LaunchDialogText {
    QString caption;
    int helpTopic;
};
LaunchDialogText launchDialogText(LaunchDialog dialog);
QString checklistCaption(Checklist checklist);
QStringList checklistLines(Checklist checklist);
int checklistHelpTopic(Checklist checklist);
inline const QString kChecklistIncomplete =
    QStringLiteral("Please complete checklist before printing report");
inline const QStringList kLaunchLines = {
    QStringLiteral("Use the Print button to preview and/or print"),
    QStringLiteral("this report. Click Cancel to return to the menu.")};

} // namespace jt::reports
