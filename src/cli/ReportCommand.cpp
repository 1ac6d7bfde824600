#include "ReportCommand.h"

#include "data/ProgramState.h"
#include "engine/IndexDefs.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/MachineSettings.h"
#include "render/Document.h"
#include "render/PdfOutput.h"
#include "reports/MarksPack.h"
#include "reports/ReportCommands.h"
#include "reports/TAdjAForm.h"
#include "reports/TAdjRecCheck.h"
#include "reports/TCompForm.h"
#include "reports/TFinalRept.h"
#include "reports/TFinalRept3x3.h"
#include "reports/TFinalRept3x4.h"
#include "reports/TFinalRept5x3.h"
#include "reports/THeader.h"
#include "reports/TRecalRead.h"
#include "reports/TRecallRept.h"
#include "reports/TRecallRept3.h"
#include "reports/TSoloWinForm.h"
#include "reports/TWinReport.h"
#include "reports/TWinReportP.h"
#include "scoring/Recalculation.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>

namespace jt::cli {
namespace {

// The program's dialogs without a screen: messages go to standard error, a preview or a
// print job adds its pages to the PDF, questions get their safe answer.
class CliDialogs final : public platform::Dialogs {
public:
    explicit CliDialogs(QTextStream& err) : m_err(err) {}

    platform::Button message(platform::MessageType, const QString& title, const QString& text,
                             platform::Buttons buttons) override {
        m_err << title << ": " << text << "\n";
        ++messages;
        if (buttons & platform::Ok)
            return platform::Ok;
        return (buttons & platform::No) ? platform::No : platform::Cancel;
    }
    std::optional<QString> openFileName(const platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    void preview(const render::Document& document) override { add(document); }
    platform::PrintOutcome print(const render::Document& document, platform::PrintMode) override {
        add(document);
        return platform::PrintOutcome::Printed;
    }
    platform::PrintOutcome printEach(const std::vector<render::Document>& documents,
                                     platform::PrintMode) override {
        for (const render::Document& document : documents)
            add(document);
        return platform::PrintOutcome::Printed;
    }
    void printerSetup() override {}

    // Adds a report's pages to the PDF.
    void add(const render::Document& document) {
        if (documents++ == 0) {
            output.title = document.title;
            output.orientation = document.orientation;
        }
        output.pages.insert(output.pages.end(), document.pages.begin(), document.pages.end());
    }

    render::Document output;
    int documents = 0;
    int messages = 0;

private:
    QTextStream& m_err;
};

// The checklist is confirmed only by --checklist-done; a launch dialog's "Preview" is
// pressed at once.
class CliReportDialogs final : public reports::ReportDialogs {
public:
    explicit CliReportDialogs(bool checklistDone) : m_checklistDone(checklistDone) {}
    bool showChecklist(reports::Checklist, const std::vector<reports::ChecklistFinding>&) override {
        return m_checklistDone;
    }
    void showLaunchDialog(reports::LaunchDialog, const std::function<void()>& preview) override {
        preview();
    }

private:
    bool m_checklistDone;
};

// Every report definition, as the program builds them at start-up.
struct Definitions {
    explicit Definitions(ProgramState& s)
        : recallRept(s), recallRept3(s), recalRead(s), adjRecCheck(s), finalRept(s),
          finalRept5x3(s), finalRept3x4(s), finalRept3x3(s), adjAForm(s), winReport(s),
          winReportP(s), soloWinForm(s), compForm(s), header(s) {}
    reports::TRecallRept recallRept;
    reports::TRecallRept3 recallRept3;
    reports::TRecalRead recalRead;
    reports::TAdjRecCheck adjRecCheck;
    reports::TFinalRept finalRept;
    reports::TFinalRept5x3 finalRept5x3;
    reports::TFinalRept3x4 finalRept3x4;
    reports::TFinalRept3x3 finalRept3x3;
    reports::TAdjAForm adjAForm;
    reports::TWinReport winReport;
    reports::TWinReportP winReportP;
    reports::TSoloWinForm soloWinForm;
    reports::TCompForm compForm;
    reports::THeader header;
};

struct Installed {
    Installed(platform::Dialogs* d, reports::ReportDialogs* r) {
        platform::setDialogs(d);
        reports::setReportDialogs(r);
    }
    ~Installed() {
        platform::setDialogs(nullptr);
        reports::setReportDialogs(nullptr);
    }
};

QString names() {
    QStringList list;
    for (const reports::ReportCommand& c : reports::reportCommands())
        list << c.cliName;
    return list.join(QStringLiteral(", "));
}

// The info table beside a results table: "_inf" before the extension.
QString infoTablePath(const QString& resultsPath) {
    const QFileInfo info(resultsPath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot < 0 ? QString() : name.mid(dot);
    const QString base = dot < 0 ? name : name.left(name.indexOf(ext));
    return info.dir().filePath(base + QStringLiteral("_inf") + ext);
}

// What the report and pack commands are given.
struct Options {
    QStringList positional;
    QString pdf;
    std::optional<QString> eventName;
    bool recalc = false;
    bool checklistDone = false;
};

// Reads the options; nothing when one is unknown.
std::optional<Options> readOptions(const QStringList& args) {
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--pdf") && i + 1 < args.size()) {
            o.pdf = args[++i];
        } else if (a == QLatin1String("--event-name") && i + 1 < args.size()) {
            o.eventName = args[++i];
        } else if (a == QLatin1String("--recalc")) {
            o.recalc = true;
        } else if (a == QLatin1String("--checklist-done")) {
            o.checklistDone = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            o.positional << a;
        }
    }
    return o;
}

// Opens the competition of the results table as Select Competition leaves it (info
// table open, results table named and closed, the recalculation flag set), runs body
// with the report definitions built and the dialogs answered as above, and writes what
// was previewed or printed into the PDF file.
int runOnCompetition(const QString& what, const QString& table, const Options& o, QTextStream& out,
                     QTextStream& err,
                     const std::function<void(ProgramState&, CliDialogs&)>& body) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        err << "jigtally-cli: reports need the Qt GUI library's application object\n";
        return 2;
    }
    const QString resultsPath = QFileInfo(table).absoluteFilePath();
    const QString infoPath = infoTablePath(resultsPath);
    if (!QFileInfo::exists(resultsPath)) {
        err << "jigtally-cli: " << table << " does not exist\n";
        return 1;
    }

    ProgramState state;
    state.DataFolder = QFileInfo(resultsPath).absolutePath();
    if (o.eventName) {
        state.GlobalSchool = *o.eventName;
    } else if (const auto key = platform::SettingsKey::open(platform::kEventNameKey)) {
        state.GlobalSchool = key->readString(platform::kEventNameValue);
    }
    state.DataModule1 = std::make_unique<data::TDataModule1>(state);
    engine::Table& results = *state.DataModule1->results;
    engine::Table& info = *state.DataModule1->compinfo;
    results.setDatabaseName(QString());
    results.setTableName(resultsPath);
    info.setDatabaseName(QString());
    info.setTableName(infoPath);
    Definitions definitions(state);
    CliDialogs dialogs(err);
    CliReportDialogs reportDialogs(o.checklistDone);
    const Installed installed(&dialogs, &reportDialogs);

    const bool ok = platform::runGuarded([&] {
        if (QFileInfo::exists(infoPath))
            info.open();
        // Select Competition gives a table without an order index "seqno", on which the
        // checksheets list the dancers in dancing order.
        results.updateIndexDefs();
        const engine::IndexDefList defs = results.indexDefs();
        if (std::none_of(defs.begin(), defs.end(), [](const engine::IndexDef& d) {
                return d.field == QLatin1String("SEQUENCE");
            }))
            results.addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
        state.ReCalcFlag = true;
        if (o.recalc) {
            scoring::recalculate(results);
            state.ReCalcFlag = false;
        }
        body(state, dialogs);
    });
    info.close();
    if (!ok)
        return 1;
    if (dialogs.documents == 0) {
        err << "jigtally-cli: " << what << ": nothing was printed\n";
        return 1;
    }
    if (dialogs.output.isEmpty()) {
        out << o.pdf << ": the report has no pages (its records are empty); nothing written\n";
        return 0;
    }
    if (!platform::runGuarded([&] { render::writePdf(dialogs.output, o.pdf); }))
        return 1;
    out << o.pdf << ": " << dialogs.output.pageCount()
        << (dialogs.output.pageCount() == 1 ? " page\n" : " pages\n");
    return 0;
}

int report(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString usage =
        QStringLiteral("usage: jigtally-cli report NAME FILE.dbf --pdf OUT.pdf [--recalc] "
                       "[--checklist-done] [--event-name TEXT]\n  NAME: %1\n")
            .arg(names());
    const std::optional<Options> o = readOptions(args);
    if (!o || o->positional.size() != 2 || o->pdf.isEmpty()) {
        err << usage;
        return 2;
    }
    const reports::ReportCommand* command = reports::findReportCommand(o->positional[0]);
    if (!command) {
        err << "jigtally-cli: no report named " << o->positional[0] << "\n" << usage;
        return 2;
    }
    return runOnCompetition(command->cliName, o->positional[1], *o, out, err,
                            [command](ProgramState& state, CliDialogs&) { command->run(state); });
}

int pack(const QStringList& args, QTextStream& out, QTextStream& err) {
    const std::optional<Options> o = readOptions(args);
    if (!o || o->positional.size() != 1 || o->pdf.isEmpty()) {
        err << "usage: jigtally-cli pack FILE.dbf --pdf OUT.pdf [--recalc] [--checklist-done] "
               "[--event-name TEXT]\n";
        return 2;
    }
    return runOnCompetition(QStringLiteral("pack"), o->positional[0], *o, out, err,
                            [](ProgramState& state, CliDialogs& dialogs) {
                                if (reports::passMarksPackGates(state))
                                    dialogs.add(reports::layOutMarksPack(state));
                            });
}

} // namespace

Command packCommand() {
    return {QStringLiteral("pack FILE.dbf --pdf OUT.pdf"),
            QStringLiteral("write the marks pack (header sheet, final marks, grid marks, winners "
                           "roster, every adjudicator's checksheet) into one PDF file, through "
                           "the same gates as those reports (--recalc, --checklist-done and "
                           "--event-name as for report)"),
            pack};
}

Command reportCommand() {
    return {QStringLiteral("report NAME FILE.dbf --pdf OUT.pdf"),
            QStringLiteral("lay out a report of the Reports menu into a PDF file (--recalc "
                           "recalculates first, --checklist-done confirms its checklist, "
                           "--event-name sets the event name)"),
            report};
}

} // namespace jt::cli
