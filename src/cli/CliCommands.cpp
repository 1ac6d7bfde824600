#include "CliCommands.h"

#include "RecalcCommand.h"
#include "ReportCommand.h"
#include "engine/DbfFile.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/IndexDefs.h"
#include "reports/ReportCommands.h"

#include <QTextStream>

namespace jt::cli {
namespace {

using engine::DbfFile;
using engine::EngineError;

int dump(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1) {
        err << "usage: jigtally-cli dump FILE.dbf\n";
        return 2;
    }
    DbfFile file;
    file.open(args[0], DbfFile::Mode::ReadOnly);
    const engine::DbfStructure& s = file.structure();
    QStringList names;
    for (const engine::FieldDef& def : s.fields)
        names << csvField(def.name);
    out << names.join(QLatin1Char(',')) << "\r\n";
    for (std::uint32_t r = 0; r < file.recordCount(); ++r) {
        const char* record = file.record(r);
        if (record[0] == engine::kDeletedFlag)
            continue;
        QStringList values;
        for (std::size_t f = 0; f < s.fields.size(); ++f)
            values << csvField(
                engine::plainText(engine::decodeField(s.fields[f], record + s.offsets[f])));
        out << values.join(QLatin1Char(',')) << "\r\n";
    }
    return 0;
}

int check(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1) {
        err << "usage: jigtally-cli check FILE.dbf\n";
        return 2;
    }
    DbfFile file;
    file.open(args[0], DbfFile::Mode::ReadOnly);
    const engine::IndexDefList indexes = engine::IndexStore::read(args[0]);
    for (const engine::IndexDef& def : indexes)
        if (!def.field.isEmpty() && file.structure().indexOf(def.field) < 0)
            throw EngineError(QStringLiteral("%1: index %2 is on field %3, which the table lacks")
                                  .arg(args[0], def.name, def.field),
                              EngineError::Kind::BadFile);
    std::uint32_t live = 0;
    for (std::uint32_t r = 0; r < file.recordCount(); ++r)
        if (file.record(r)[0] != engine::kDeletedFlag)
            ++live;
    out << args[0] << ": sound, " << file.structure().fields.size() << " fields, " << live
        << " records";
    if (live != file.recordCount())
        out << " (" << (file.recordCount() - live) << " deleted)";
    out << ", " << indexes.size() << " indexes\n";
    return 0;
}

void printHelp(QTextStream& out) {
    out << "usage: jigtally-cli COMMAND [ARGUMENTS]\n\n"
           "Commands:\n";
    for (const auto& [name, command] : commands())
        out << "  " << command.usage.leftJustified(24) << " " << command.summary << "\n";
    out << "\n  report names:";
    for (const reports::ReportCommand& c : reports::reportCommands())
        out << " " << c.cliName;
    out << "\n";
    out << "\n  --help                   show this text\n";
}

} // namespace

std::map<QString, Command>& commands() {
    static std::map<QString, Command> table = {
        {QStringLiteral("dump"),
         {QStringLiteral("dump FILE.dbf"),
          QStringLiteral("print the table as CSV on standard output"), dump}},
        {QStringLiteral("check"),
         {QStringLiteral("check FILE.dbf"), QStringLiteral("check that the file is a sound table"),
          check}},
        {QStringLiteral("recalc"), recalcCommand()},
        {QStringLiteral("report"), reportCommand()},
    };
    return table;
}

QString csvField(const QString& text) {
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quote)
        return text;
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

int runCli(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") ||
        args[0] == QLatin1String("help")) {
        printHelp(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    const auto it = commands().find(args[0]);
    if (it == commands().end()) {
        err << "jigtally-cli: unknown command '" << args[0] << "' (try --help)\n";
        return 2;
    }
    try {
        return it->second.run(args.mid(1), out, err);
    } catch (const EngineError& e) {
        err << "jigtally-cli: " << e.message() << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << "jigtally-cli: " << e.what() << "\n";
        return 1;
    }
}

} // namespace jt::cli
