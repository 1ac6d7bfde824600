#include "RecallProcedure.h"

#include "Positions.h"
#include "RecallReportBase.h"
#include "ReportCommands.h"
#include "ReportTexts.h"
#include "TRecalRead.h"
#include "TRecallRept.h"
#include "TRecallRept3.h"
#include "WorkingIndex.h"
#include "data/ProgramState.h"
#include "engine/BatchCopy.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFileInfo>

#include <limits>

namespace jt::reports {
namespace {

// RecalTmp lives beside the results table: through the same alias, or in the same
// folder when the results table is named by its path.
void placeBesideResults(engine::Table& recalTmp, const engine::Table& results) {
    if (!results.databaseName().isEmpty()) {
        recalTmp.setDatabaseName(results.databaseName());
        recalTmp.setTableName(kRecalTmpFile);
    } else {
        recalTmp.setDatabaseName(QString());
        recalTmp.setTableName(QFileInfo(results.resolvedPath()).dir().filePath(kRecalTmpFile));
    }
}

// Marks exactly the first n records of the table's current order as recalled and every
// other as not, each posted.
void markRecalled(engine::Table& results, int n) {
    engine::Field* recalled = results.fieldByName(QStringLiteral("RECALLED"));
    int row = 0;
    for (results.first(); !results.eof(); results.next()) {
        results.edit();
        recalled->setAsBoolean(row++ < n);
        results.post();
    }
}

void previewRecallList(ProgramState& state, engine::Table& results, const QString& compName,
                       int n) {
    TRecalRead& list = created(RecalRead, "TRecalRead");
    engine::Table& recalTmp = *list.RecalTmp;
    placeBesideResults(recalTmp, results);

    results.first();
    engine::batchCopy(results, recalTmp, n);
    markRecalled(results, n);

    runWithWorkingIndex(recalTmp, kRecalTmpIndex, [&] {
        list.dataSet = &recalTmp;
        list.ReportTitle->prefix = compName;
        previewReport(state, list);
    });
}

} // namespace

int readRecallCount(const QString& answer) {
    qsizetype i = 0;
    while (i < answer.size() && answer[i].isSpace())
        ++i;
    bool negative = false;
    if (i < answer.size() && (answer[i] == QLatin1Char('+') || answer[i] == QLatin1Char('-'))) {
        negative = answer[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    const long long limit = std::numeric_limits<int>::max();
    for (; i < answer.size() && answer[i] >= QLatin1Char('0') && answer[i] <= QLatin1Char('9'); ++i)
        value = std::min(limit + 1, value * 10 + (answer[i].unicode() - '0'));
    if (negative)
        return int(std::max(-value, static_cast<long long>(std::numeric_limits<int>::min())));
    return int(std::min(value, limit));
}

RecallReportBase& recallLayout(const QString& numAdjs) {
    if (numAdjs == QLatin1String("3"))
        return created(RecallRept3, "TRecallRept3");
    return created(RecallRept, "TRecallRept");
}

void previewRecallReport(ProgramState& state) {
    data::TDataModule1& module = state.module();
    engine::Table& results = *module.results;
    engine::Table& info = *module.compinfo;
    RecallReportBase& report = recallLayout(infoText(info, QStringLiteral("NUMADJS")));
    created(RecalRead, "TRecalRead"); // before any write: the list must be there to print

    runWithWorkingIndex(results, kRecallIndex, [&] {
        AssignPositions(results, QStringLiteral("RECALLTTL"));
        results.first();

        const QString compName = infoText(info, QStringLiteral("COMPNAME"));
        report.setEventName(state.GlobalSchool);
        report.ReportTitle->prefix = compName;
        report.bindInfo(&info);
        report.dataSet = &results;
        previewReport(state, report);

        const std::optional<QString> answer = platform::dialogs().inputBox(
            kRecallListCaption, kRecallCountPrompt, kRecallCountDefault);
        const int n = readRecallCount(answer.value_or(kRecallCountDefault));
        if (n > 0)
            previewRecallList(state, results, compName, n);
    });
}

} // namespace jt::reports
