// Writes the system tables and the example competition that are installed with the
// program: jigtally-mktables OUTPUT-FOLDER
#include "SystemTables.h"
#include "engine/EngineError.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: jigtally-mktables OUTPUT-FOLDER\n");
        return 2;
    }
    try {
        QDir().mkpath(args[1]);
        jt::data::writeTemplateTables(args[1]);
        jt::data::writeExampleCompetition(args[1]);
    } catch (const jt::engine::EngineError& e) {
        std::fprintf(stderr, "jigtally-mktables: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
