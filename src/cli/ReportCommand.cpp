#include "ReportCommand.h"

#include "data/ProgramState.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/MachineSettings.h"
#include "render/Document.h"
#include "render/PdfOutput.h"
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
    void printerSetup() override {}

    render::Document output;
    int documents = 0;
    int messages = 0;

private:
    void add(const render::Document& document) {
        if (documents++ == 0) {
            output.title = document.title;
            output.orientation = document.orientation;
        }
        output.pages.insert(output.pages.end(), document.pages.begin(), document.pages.end());
    }
    QTextStream& m_err;
};

// The checklist is confirmed only by --checklist-done; a launch dialog's "Preview" is
// pressed at once.
class CliReportDialogs final : public reports::ReportDialogs {
public:
    explicit CliReportDialogs(bool checklistDone) : m_checklistDone(checklistDone) {}
    bool showChecklist(reports::Checklist) override { return m_checklistDone; }
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

int report(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString usage =
        QStringLiteral("usage: jigtally-cli report NAME FILE.dbf --pdf OUT.pdf [--recalc] "
                       "[--checklist-done] [--event-name TEXT]\n  NAME: %1\n")
            .arg(names());
    QStringList positional;
    QString pdf;
    QString eventName;
    bool haveEventName = false;
    bool recalc = false;
    bool checklistDone = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--pdf") && i + 1 < args.size()) {
            pdf = args[++i];
        } else if (a == QLatin1String("--event-name") && i + 1 < args.size()) {
            eventName = args[++i];
            haveEventName = true;
        } else if (a == QLatin1String("--recalc")) {
            recalc = true;
        } else if (a == QLatin1String("--checklist-done")) {
            checklistDone = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            err << usage;
            return 2;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2 || pdf.isEmpty()) {
        err << usage;
        return 2;
    }
    const reports::ReportCommand* command = reports::findReportCommand(positional[0]);
    if (!command) {
        err << "jigtally-cli: no report named " << positional[0] << "\n" << usage;
        return 2;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        err << "jigtally-cli: reports need the Qt GUI library's application object\n";
        return 2;
    }
    const QString resultsPath = QFileInfo(positional[1]).absoluteFilePath();
    const QString infoPath = infoTablePath(resultsPath);
    if (!QFileInfo::exists(resultsPath)) {
        err << "jigtally-cli: " << positional[1] << " does not exist\n";
        return 1;
    }

    // The competition as Select Competition leaves it: info table open, results table
    // named and closed, the recalculation flag set.
    ProgramState state;
    state.DataFolder = QFileInfo(resultsPath).absolutePath();
    if (haveEventName) {
        state.GlobalSchool = eventName;
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
    CliReportDialogs reportDialogs(checklistDone);
    const Installed installed(&dialogs, &reportDialogs);

    const bool ok = platform::runGuarded([&] {
        if (QFileInfo::exists(infoPath))
            info.open();
        state.ReCalcFlag = true;
        if (recalc) {
            scoring::recalculate(results);
            state.ReCalcFlag = false;
        }
        command->run(state);
    });
    info.close();
    if (!ok)
        return 1;
    if (dialogs.documents == 0) {
        err << "jigtally-cli: " << command->cliName << ": nothing was printed\n";
        return 1;
    }
    if (dialogs.output.isEmpty()) {
        out << pdf << ": the report has no pages (its records are empty); nothing written\n";
        return 0;
    }
    if (!platform::runGuarded([&] { render::writePdf(dialogs.output, pdf); }))
        return 1;
    out << pdf << ": " << dialogs.output.pageCount()
        << (dialogs.output.pageCount() == 1 ? " page\n" : " pages\n");
    return 0;
}

} // namespace

Command reportCommand() {
    return {QStringLiteral("report NAME FILE.dbf --pdf OUT.pdf"),
            QStringLiteral("lay out a report of the Reports menu into a PDF file (--recalc "
                           "recalculates first, --checklist-done confirms its checklist, "
                           "--event-name sets the event name)"),
            report};
}

} // namespace jt::cli
