#pragma once

#include "data/ProgramState.h"
#include "support/TempDataFolder.h"

namespace jt::test {

// A temporary data folder with the system tables and one competition made from the
// templates, and a data module whose results table names that competition (closed).
struct CompetitionFolder {
    TempDataFolder folder;
    ProgramState state;
    data::TDataModule1 module{state};

    explicit CompetitionFolder(const QString& name = QStringLiteral("u12")) {
        folder.addSystemTables();
        folder.addCompetition(name);
        module.results->setTableName(name + QStringLiteral(".dbf"));
    }
    engine::Table& results() { return *module.results; }
};

} // namespace jt::test
