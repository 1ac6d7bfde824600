#include "Checksheets.h"

#include "ReportCommands.h"
#include "ReportTexts.h"
#include "TAdjRecCheck.h"
#include "data/ProgramState.h"
#include "engine/FirstFailure.h"
#include "engine/Table.h"
#include "render/Document.h"

namespace jt::reports {

QString checksheetLetters(const QString& numAdjs) {
    return numAdjs == QLatin1String("5") ? QStringLiteral("ABCDE") : QStringLiteral("ABC");
}

std::vector<render::Document> layOutChecksheets(ProgramState& state) {
    TAdjRecCheck& sheet = created(AdjRecCheck, "TAdjRecCheck");
    engine::Table& results = *state.module().results;
    const engine::Table& info = *state.module().compinfo;
    sheet.ReportTitle->prefix = infoText(info, QStringLiteral("COMPNAME"));
    sheet.bindInfo(state.module().compinfo);
    sheet.dataSet = &results;

    std::vector<render::Document> sheets;
    engine::FirstFailure steps;
    steps.attempt([&] {
        results.open();
        results.setIndexName(QStringLiteral("seqno"));
        for (const QChar letter : checksheetLetters(infoText(info, QStringLiteral("NUMADJS")))) {
            sheet.setAdjudicator(letter);
            results.first();
            sheets.push_back(layOutReport(state, sheet));
        }
    });
    // Whatever happened, the table is left as every report leaves it.
    steps.attempt([&] { results.setIndexName(QString()); });
    steps.attempt([&] { results.close(); });
    if (!results.indexName().isEmpty())
        results.setIndexName(QString()); // closed: only forgets the name
    steps.rethrow();
    return sheets;
}

} // namespace jt::reports
