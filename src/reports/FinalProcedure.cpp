#include "FinalProcedure.h"

#include "FinalReportBase.h"
#include "Positions.h"
#include "ReportCommands.h"
#include "ReportTexts.h"
#include "TFinalRept.h"
#include "TFinalRept3x3.h"
#include "TFinalRept3x4.h"
#include "TFinalRept5x3.h"
#include "WorkingIndex.h"
#include "data/ProgramState.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

namespace jt::reports {
FinalReportBase& finalLayout(const QString& numAdjs, const QString& numRounds) {
    const bool threeAdjudicators = numAdjs == QLatin1String("3");
    const bool twoRounds = numRounds == QLatin1String("3");
    if (threeAdjudicators)
        return twoRounds ? static_cast<FinalReportBase&>(created(FinalRept3x3, "TFinalRept3x3"))
                         : created(FinalRept3x4, "TFinalRept3x4");
    return twoRounds ? static_cast<FinalReportBase&>(created(FinalRept5x3, "TFinalRept5x3"))
                     : created(FinalRept, "TFinalRept");
}

void previewFinalReport(ProgramState& state, const ShowReport& show) {
    data::TDataModule1& module = state.module();
    engine::Table& results = *module.results;
    engine::Table& info = *module.compinfo;
    FinalReportBase& report = finalLayout(infoText(info, QStringLiteral("NUMADJS")),
                                          infoText(info, QStringLiteral("NUMROUNDS")));
    runWithWorkingIndex(results, kFinalIndex, [&] {
        AssignPositions(results, QStringLiteral("GRIDTOTAL"));
        results.first();
        report.ReportTitle->prefix = competitionDisplayName(results);
        report.bindInfo(&info);
        report.dataSet = &results;
        show(layOutReport(state, report));
    });
}

} // namespace jt::reports
