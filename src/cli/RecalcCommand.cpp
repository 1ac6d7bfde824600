#include "RecalcCommand.h"

#include "data/ProgramState.h"
#include "engine/Table.h"
#include "scoring/Recalculation.h"

#include <QFileInfo>
#include <QTextStream>

namespace jt::cli {
namespace {

int recalc(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1) {
        err << "usage: jigtally-cli recalc FILE.dbf\n";
        return 2;
    }
    // A data module of its own, its results table pointed at the file by path, so the
    // stages run exactly as they do on the open competition.
    ProgramState state;
    data::TDataModule1 module(state);
    engine::Table& results = *module.results;
    results.setDatabaseName(QString());
    results.setTableName(QFileInfo(args[0]).absoluteFilePath());
    scoring::recalculate(results);
    results.open();
    const int dancers = results.recordCount();
    results.close();
    out << args[0] << ": recalculated, " << dancers << (dancers == 1 ? " dancer\n" : " dancers\n");
    return 0;
}

} // namespace

Command recalcCommand() {
    return {QStringLiteral("recalc FILE.dbf"),
            QStringLiteral("run the recall and final stages on the results table"), recalc};
}

} // namespace jt::cli
