#include "ResultRuns.h"

#include "LaunchChoices.h"
#include "Positions.h"
#include "ReportCommands.h"
#include "ReportTexts.h"
#include "SoloRanking.h"
#include "TAdjAForm.h"
#include "TSoloWinForm.h"
#include "TWinReport.h"
#include "TWinReportP.h"
#include "WorkingIndex.h"
#include "data/ProgramState.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Table.h"

namespace jt::reports {
void previewGridMarks(ProgramState& state, const ShowReport& show) {
    TAdjAForm& form = created(AdjAForm, "TAdjAForm");
    engine::Table& results = *state.module().results;
    form.dataSet = &results;
    form.setInfoTable(state.module().compinfo);
    runWithWorkingIndex(results, kDancerIndex, [&] {
        results.setFilter(QStringLiteral("GRIDTOTAL <> 0.00"));
        results.setFiltered(true);
        results.first();
        form.ReportTitle->prefix = competitionDisplayName(results);
        show(layOutReport(state, form));
    });
}

void previewWinnersRoster(ProgramState& state, const ShowReport& show) {
    const bool withRecall = launchChoices().championship;
    TitledReport& form = withRecall ? static_cast<TitledReport&>(created(WinReport, "TWinReport"))
                                    : created(WinReportP, "TWinReportP");
    engine::Table& results = *state.module().results;
    form.dataSet = &results;
    runWithWorkingIndex(results, withRecall ? kFinalIndex : kRecallIndex, [&] {
        // Every dancer is placed before the filter hides those without a grid total.
        AssignPositions(results,
                        withRecall ? QStringLiteral("GRIDTOTAL") : QStringLiteral("RECALLTTL"));
        if (withRecall) {
            results.setFilter(QStringLiteral("GRIDTOTAL <> 0"));
            results.setFiltered(true);
        }
        results.first();
        form.ReportTitle->prefix = competitionDisplayName(results);
        show(layOutReport(state, form));
    });
}

void previewSoloResult(ProgramState& state) {
    TSoloWinForm& form = created(SoloWinForm, "TSoloWinForm");
    LaunchChoices& choices = launchChoices();
    const SoloLists& lists = choices.solo;
    choices.soloAdjudicator = lists.adjudicator;
    choices.soloRound = lists.round;

    const engine::Table& info = *state.module().compinfo;
    const QString markField =
        soloMarkField(lists.adjudicator, lists.round, infoText(info, QStringLiteral("NUMROUNDS")));
    engine::Table& results = *state.module().results;
    form.dataSet = &results;
    // The index and the field are named in capitals, as the table's fields are.
    runWithWorkingIndex(results, soloIndex(markField.toUpper()), [&] {
        rankSolo(results, markField.toUpper());
        results.first();
        form.AdjCaption->caption = lists.adjudicators.value(lists.adjudicator);
        form.RoundCaption->caption = lists.rounds.value(lists.round);
        form.Marks->field = markField.toUpper();
        form.ReportTitle->prefix = competitionDisplayName(results);
        previewReport(state, form);
    });
}

} // namespace jt::reports
