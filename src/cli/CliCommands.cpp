#include "CliCommands.h"

#include "RecalcCommand.h"
#include "ReportCommand.h"
#include "data/DataModule.h"
#include "data/ProgramState.h"
#include "data/ResultsCheck.h"
#include "engine/AliasRegistry.h"
#include "engine/DbfFile.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/IndexDefs.h"
#include "engine/Table.h"
#include "reports/ReportCommands.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <unistd.h>

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

// The info table beside a results table: the results file's base name (up to where its
// extension first occurs) with "_inf" before the extension, found without regard to case.
QString infoTableBeside(const QString& resultsPath) {
    const QFileInfo info(resultsPath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    const QString base = extension.isEmpty() ? name : name.left(name.indexOf(extension));
    return engine::findFileIgnoringCase(info.absolutePath(),
                                        base + QStringLiteral("_inf") + extension);
}

// A competition's table is also read as the program reads it, through the data module's
// tables with their declared fields: a field of the wrong type family is refused with the
// program's own message, and marks the competition cannot have come back as warnings.
QStringList checkAsCompetitionTable(const QString& path, const engine::DbfStructure& s) {
    ProgramState state;
    data::TDataModule1 module(state);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const bool infoTable =
        QFileInfo(path).fileName().contains(QLatin1String("_inf"), Qt::CaseInsensitive);
    if (infoTable || s.indexOf(QStringLiteral("SEQUENCE")) < 0) {
        if (infoTable) {
            module.compinfo->setDatabaseName(QString());
            module.compinfo->setTableName(absolute);
            module.compinfo->open();
            module.compinfo->close();
        }
        return {};
    }
    engine::Table& results = *module.results;
    results.setDatabaseName(QString());
    results.setTableName(absolute);
    QString numAdjs;
    QString numRounds;
    const QString infoPath = infoTableBeside(absolute);
    if (QFileInfo::exists(infoPath)) {
        module.compinfo->setDatabaseName(QString());
        module.compinfo->setTableName(infoPath);
        module.compinfo->open();
        numAdjs = module.compinfoNUMADJS->asString();
        numRounds = module.compinfoNUMROUNDS->asString();
        module.compinfo->close();
    }
    results.open();
    QStringList warnings;
    for (const data::StrayMark& m : data::strayMarks(results, numAdjs, numRounds))
        warnings << m.text(path);
    results.close();
    return warnings;
}

bool writable(const QString& path) {
    return !QFileInfo::exists(path) || ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

// The table as a reader finds it (a journal or an undo file left by a crash put in) written
// whole to folder under the same name.
void copyAsRead(const QString& path, const QString& folder) {
    DbfFile file;
    file.open(path, DbfFile::Mode::ReadOnly);
    const std::uint32_t count = file.recordCount();
    const int length = file.structure().recordLength;
    QByteArray records;
    records.reserve(qsizetype(count) * length);
    for (std::uint32_t r = 0; r < count; ++r)
        records.append(file.record(r), length);
    DbfFile::writeWholeTable(folder + QLatin1Char('/') + QFileInfo(path).fileName(),
                             file.structure(), records, count);
}

// The data module opens its tables for writing, as the program does. A table on a disk or
// in a folder that cannot be written is checked so through copies in a temporary folder,
// and what is said names the table itself.
QStringList checkAsCompetitionTableAnywhere(const QString& path, const engine::DbfStructure& s) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString info = infoTableBeside(absolute);
    if (writable(absolute) && writable(info))
        return checkAsCompetitionTable(absolute, s);
    const QTemporaryDir copies;
    if (!copies.isValid())
        throw EngineError(QStringLiteral("Cannot make a temporary folder to check %1 in: %2")
                              .arg(absolute, copies.errorString()),
                          EngineError::Kind::Io);
    const QString folder = QFileInfo(absolute).absolutePath();
    const auto original = [&](QString text) { return text.replace(copies.path(), folder); };
    try {
        copyAsRead(absolute, copies.path());
        if (QFileInfo::exists(info))
            copyAsRead(info, copies.path());
        QStringList warnings = checkAsCompetitionTable(
            copies.path() + QLatin1Char('/') + QFileInfo(absolute).fileName(), s);
        for (QString& warning : warnings)
            warning = original(warning);
        return warnings;
    } catch (const EngineError& e) {
        throw EngineError(original(e.message()), e.kind());
    }
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
    const std::uint32_t count = file.recordCount();
    const std::size_t fields = file.structure().fields.size();
    QStringList warnings;
    if (const std::uint32_t uncounted = file.uncountedRecords())
        warnings << engine::uncountedRecordsText(args[0], uncounted);
    const engine::DbfStructure structure = file.structure();
    file.close();
    warnings << checkAsCompetitionTableAnywhere(args[0], structure);

    out << args[0] << ": sound, " << fields << " fields, " << live << " records";
    if (live != count)
        out << " (" << (count - live) << " deleted)";
    out << ", " << indexes.size() << " indexes\n";
    for (const QString& w : warnings)
        out << "warning: " << w << "\n";
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
        {QStringLiteral("pack"), packCommand()},
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
