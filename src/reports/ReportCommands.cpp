#include "ReportCommands.h"

#include "Checksheets.h"
#include "FinalProcedure.h"
#include "LaunchChoices.h"
#include "RecallProcedure.h"
#include "ReportTexts.h"
#include "ResultRuns.h"
#include "SoloRanking.h"
#include "TAdjAForm.h"
#include "TCompForm.h"
#include "TFinalRept.h"
#include "TFinalRept3x3.h"
#include "TFinalRept3x4.h"
#include "TFinalRept5x3.h"
#include "THeader.h"
#include "TRecallRept.h"
#include "TRecallRept3.h"
#include "TSoloWinForm.h"
#include "TWinReport.h"
#include "TWinReportP.h"
#include "data/ProgramState.h"
#include "data/RecalcGate.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/MachineSettings.h"
#include "render/Layout.h"

namespace jt::reports {
namespace {

using platform::dialogs;
using platform::kApplicationTitle;
using platform::MessageType;

bool passGate(const ProgramState& state, Gate gate) {
    switch (gate) {
    case Gate::None:
        return true;
    case Gate::Recalc:
        return passRecalcGate(state);
    case Gate::RecalcThenRecallChecklist:
        return passRecalcGate(state) && passChecklistGate(state, Checklist::Recall);
    case Gate::RecalcThenFinalChecklist:
        return passRecalcGate(state) && passChecklistGate(state, Checklist::Final);
    }
    return false;
}

const ReportCommand& command(void (*run)(ProgramState&)) {
    for (const ReportCommand& c : reportCommands())
        if (c.run == run)
            return c;
    throw engine::EngineError(QStringLiteral("Unknown report command"));
}

} // namespace

const std::vector<ReportCommand>& reportCommands() {
    static const std::vector<ReportCommand> commands = {
        {QStringLiteral("ListCompetitors1"), QStringLiteral("&Competitor List"),
         QStringLiteral("ListCompetitors1Click"), QStringLiteral("competitors"), Gate::None,
         ListCompetitors1Click},
        {QStringLiteral("Print1"), QStringLiteral("&Recall Report+List"),
         QStringLiteral("Print1Click"), QStringLiteral("recall"), Gate::RecalcThenRecallChecklist,
         Print1Click},
        {QStringLiteral("RecallChecklists1"), QStringLiteral("&PRINT Adj Checklists"),
         QStringLiteral("RecallChecklists1Click"), QStringLiteral("checksheets"), Gate::Recalc,
         RecallChecklists1Click},
        {QStringLiteral("FinalResults1"), QStringLiteral("&Final Marks Report"),
         QStringLiteral("FinalResults1Click"), QStringLiteral("final"),
         Gate::RecalcThenFinalChecklist, FinalResults1Click},
        {QStringLiteral("HeaderSheet1"), QStringLiteral("&Header Sheet"),
         QStringLiteral("HeaderSheet1Click"), QStringLiteral("header"), Gate::None,
         HeaderSheet1Click},
        {QStringLiteral("ResultsbyAdjA1"), QStringLiteral("&Grid Marks"),
         QStringLiteral("ResultsbyAdjA1Click"), QStringLiteral("grid"), Gate::Recalc,
         ResultsbyAdjA1Click},
        {QStringLiteral("WinnersList1"), QStringLiteral("&Winners Roster"),
         QStringLiteral("WinnersList1Click"), QStringLiteral("winners"), Gate::Recalc,
         WinnersList1Click},
        {QStringLiteral("SoloWinners1"), QStringLiteral("&Solos"),
         QStringLiteral("SoloWinners1Click"), QStringLiteral("solos"), Gate::Recalc,
         SoloWinners1Click},
    };
    return commands;
}

const ReportCommand* findReportCommand(const QString& name) {
    for (const ReportCommand& c : reportCommands())
        if (c.handler == name || c.menuItem == name || c.cliName == name)
            return &c;
    return nullptr;
}

bool passChecklistGate(const ProgramState& state, Checklist checklist) {
    if (reportDialogs().showChecklist(checklist, checklistFindings(state, checklist)))
        return true;
    dialogs().message(MessageType::Warning, kApplicationTitle, kChecklistIncomplete,
                      platform::Cancel);
    return false;
}

void runLaunchDialog(ProgramState& state, LaunchDialog dialog,
                     const std::function<void()>& preview) {
    reportDialogs().showLaunchDialog(dialog, [&preview] { platform::runGuarded(preview); });
    state.ReCalcFlag = false;
}

render::Document layOutReport(const ProgramState& state, render::ReportDefinition& report) {
    render::LayoutOptions options;
    options.dataFolder = state.DataFolder;
    render::LayoutResult result = render::layOut(report, options);
    for (const QString& file : result.unreadableLogos)
        dialogs().message(MessageType::Warning, kApplicationTitle,
                          QStringLiteral("The picture %1 could not be read; the report keeps "
                                         "the logo it showed before.")
                              .arg(file),
                          platform::Ok);
    return std::move(result.document);
}

void previewReport(const ProgramState& state, render::ReportDefinition& report) {
    dialogs().preview(layOutReport(state, report));
}

void showInPreview(const render::Document& document) {
    dialogs().preview(document);
}

render::Document layOutHeaderSheet(ProgramState& state) {
    THeader& header = created(Header, "THeader");
    // The event name as stored; a settings key that will not open gives the maker's name.
    const std::optional<platform::SettingsKey> key =
        platform::SettingsKey::open(platform::kEventNameKey);
    header.ReportTitle->prefix =
        key ? key->readString(platform::kEventNameValue) : QStringLiteral("Jigtally Software");
    header.dataSet = state.module().compinfo;
    return layOutReport(state, header);
}

// ---- the commands ------------------------------------------------------------

void ListCompetitors1Click(ProgramState& state) {
    TCompForm& form = created(CompForm, "TCompForm");
    form.setEventName(state.GlobalSchool);
    engine::Table& results = *state.module().results;
    form.dataSet = &results;
    try {
        results.open();
        results.first();
        form.ReportTitle->prefix = competitionDisplayName(results);
        previewReport(state, form);
    } catch (...) {
        results.close();
        throw;
    }
    results.close();
}

void Print1Click(ProgramState& state) {
    if (!passGate(state, command(Print1Click).gate))
        return;
    runLaunchDialog(state, LaunchDialog::RecallReport, [&state] { previewRecallReport(state); });
}

void RecallChecklists1Click(ProgramState& state) {
    if (!passGate(state, command(RecallChecklists1Click).gate))
        return;
    // Each sheet is a print job of its own, straight to the current printer.
    dialogs().printEach(layOutChecksheets(state), platform::PrintMode::Direct);
}

void FinalResults1Click(ProgramState& state) {
    if (!passGate(state, command(FinalResults1Click).gate))
        return;
    for (TitledReport* layout :
         {static_cast<TitledReport*>(&created(FinalRept, "TFinalRept")),
          static_cast<TitledReport*>(&created(FinalRept5x3, "TFinalRept5x3")),
          static_cast<TitledReport*>(&created(FinalRept3x4, "TFinalRept3x4")),
          static_cast<TitledReport*>(&created(FinalRept3x3, "TFinalRept3x3"))})
        layout->setEventName(state.GlobalSchool);
    runLaunchDialog(state, LaunchDialog::FinalReport, [&state] { previewFinalReport(state); });
}

void HeaderSheet1Click(ProgramState& state) {
    showInPreview(layOutHeaderSheet(state));
}

void ResultsbyAdjA1Click(ProgramState& state) {
    if (!passGate(state, command(ResultsbyAdjA1Click).gate))
        return;
    created(AdjAForm, "TAdjAForm").setEventName(state.GlobalSchool);
    runLaunchDialog(state, LaunchDialog::GridMarks, [&state] { previewGridMarks(state); });
}

void WinnersList1Click(ProgramState& state) {
    if (!passGate(state, command(WinnersList1Click).gate))
        return;
    created(WinReport, "TWinReport").setEventName(state.GlobalSchool);
    created(WinReportP, "TWinReportP").setEventName(state.GlobalSchool);
    runLaunchDialog(state, LaunchDialog::WinnersRoster, [&state] { previewWinnersRoster(state); });
}

void SoloWinners1Click(ProgramState& state) {
    if (!passGate(state, command(SoloWinners1Click).gate))
        return;
    LaunchChoices& choices = launchChoices();
    choices.solo =
        soloDialogLists(*state.module().compinfo, choices.soloAdjudicator, choices.soloRound);
    runLaunchDialog(state, LaunchDialog::SoloResult, [&state] { previewSoloResult(state); });
}

// ---- dialog texts ------------------------------------------------------------

LaunchDialogText launchDialogText(LaunchDialog dialog) {
    switch (dialog) {
    case LaunchDialog::RecallReport:
        return {QStringLiteral("Print Recall Report"), 300};
    case LaunchDialog::FinalReport:
        return {QStringLiteral("Print Final Results"), 310};
    case LaunchDialog::GridMarks:
        return {QStringLiteral("Print Grid Marks Report"), 370};
    case LaunchDialog::WinnersRoster:
        return {QStringLiteral("Print Winners Roster"), 360};
    case LaunchDialog::SoloResult:
        return {QStringLiteral("Print Solo Result"), 540};
    }
    return {};
}

QString checklistCaption(Checklist checklist) {
    return checklist == Checklist::Recall ? QStringLiteral("Recall Checklist")
                                          : QStringLiteral("Final Checklist");
}

int checklistHelpTopic(Checklist checklist) {
    return checklist == Checklist::Recall ? 300 : 310;
}

QStringList checklistLines(Checklist checklist) {
    const bool recall = checklist == Checklist::Recall;
    return {recall ? QStringLiteral("1. Marks entered for both dances")
                   : QStringLiteral("1. Marks entered for final dance"),
            QStringLiteral("2. Marks entered for all dancers"),
            QStringLiteral("3. All adjudicators entered, in correct columns"),
            QStringLiteral("4. Non-dancing competitors removed"),
            recall ? QStringLiteral("5. Recall grid calculations run")
                   : QStringLiteral("5. Final grid calculations run")};
}

} // namespace jt::reports
