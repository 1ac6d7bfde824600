// Times every report of the Reports menu on a recalculated 200-dancer championship, from
// the command to the laid-out report its preview would show (the checksheets: all five
// sheets ready for the printer), and jigtally-cli report final on 1,000 dancers to PDF.
// Run in a Release build:
//   build-rel/bench/reports/bench_reports [--runs N] [--keep FOLDER]

#include "data/ProgramState.h"
#include "data/RecordLayouts.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "render/Document.h"
#include "reports/LaunchChoices.h"
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
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

namespace {

using namespace jt;

// Five adjudicators, three rounds and the set; about half the dancers recalled with
// set-dance marks; marks with one decimal, so ties occur as they do in life.
void generate(const QString& folder, const QString& name, int dancers) {
    const QString results = QDir(folder).filePath(name + QStringLiteral(".dbf"));
    engine::Table table;
    table.setTableName(results);
    table.createTable(data::resultsFields());
    table.addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
    table.setExclusive(true);
    table.open();
    QRandomGenerator random(20261211);
    const auto mark = [&random] { return 50.0 + double(random.bounded(501)) / 10.0; };
    for (int i = 0; i < dancers; ++i) {
        table.append();
        table.fieldByName(QStringLiteral("SEQUENCE"))->setAsFloat(i + 1);
        table.fieldByName(QStringLiteral("COMP_NO"))->setAsFloat(100 + (i * 7919) % dancers);
        table.fieldByName(QStringLiteral("NAME"))
            ->setAsString(QStringLiteral("Dancer Number %1").arg(i + 1));
        table.fieldByName(QStringLiteral("SCHOOL"))
            ->setAsString(QStringLiteral("Scoil Rince %1").arg(i % 37));
        const bool recalled = random.bounded(2) == 0;
        table.fieldByName(QStringLiteral("RECALLED"))->setAsBoolean(recalled);
        for (const char letter : data::kAdjudicatorLetters) {
            const QString x(QLatin1Char{letter});
            for (int round = 1; round <= 3; ++round)
                table.fieldByName(x + QString::number(round))->setAsFloat(mark());
            if (recalled)
                table.fieldByName(x + QStringLiteral("SET"))->setAsFloat(mark());
        }
        table.post();
    }
    scoring::recalculate(table);
    table.close();

    engine::Table info;
    info.setTableName(QDir(folder).filePath(name + QStringLiteral("_inf.dbf")));
    info.createTable(data::compInfoFields());
    info.open();
    info.append();
    const QList<std::pair<const char*, QString>> values{
        {"COMPNO", QStringLiteral("12")},
        {"COMPNAME", QStringLiteral("Under 12 Girls Championship")},
        {"NUMADJS", QStringLiteral("5")},
        {"NUMROUNDS", QStringLiteral("4")},
        {"ADJANAME", QStringLiteral("Mary Kelly")},
        {"ADJBNAME", QStringLiteral("Seán Ó Briain")},
        {"ADJCNAME", QStringLiteral("Niamh Walsh")},
        {"ADJDNAME", QStringLiteral("Declan Burke")},
        {"ADJENAME", QStringLiteral("Eve Nolan")},
        {"RD1TITLE", QStringLiteral("Heavy")},
        {"RD2TITLE", QStringLiteral("Light")},
        {"RD3TITLE", QStringLiteral("Round 3")},
        {"RD4TITLE", QStringLiteral("Set Dance")}};
    for (const auto& [field, value] : values)
        info.fieldByName(QString::fromLatin1(field))->setAsString(value);
    info.post();
    info.close();
}

// Answers as a person who wants every report: a preview or print job stops the clock.
class BenchDialogs final : public platform::Dialogs {
public:
    platform::Button message(platform::MessageType, const QString&, const QString& text,
                             platform::Buttons) override {
        qFatal("unexpected message: %s", qPrintable(text));
    }
    std::optional<QString> openFileName(const platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override {
        return QStringLiteral("100");
    }
    std::optional<QString> saveFileName(const platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    void preview(const render::Document& document) override { shown(document); }
    platform::PrintOutcome print(const render::Document& document, platform::PrintMode) override {
        shown(document);
        return platform::PrintOutcome::Printed;
    }
    platform::PrintOutcome printEach(const std::vector<render::Document>& documents,
                                     platform::PrintMode) override {
        for (const render::Document& document : documents)
            shown(document);
        return platform::PrintOutcome::Printed;
    }
    void printerSetup() override {}

    QElapsedTimer timer;
    std::vector<double> shownMs; // when each report was ready, from the command's start
    std::vector<int> pages;      // and its pages

private:
    void shown(const render::Document& document) {
        shownMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        pages.push_back(document.pageCount());
    }
};

class BenchReportDialogs final : public reports::ReportDialogs {
public:
    bool showChecklist(reports::Checklist, const std::vector<reports::ChecklistFinding>&) override {
        return true;
    }
    void showLaunchDialog(reports::LaunchDialog, const std::function<void()>& preview) override {
        preview();
    }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Report {
    const char* name;
    std::function<void(ProgramState&)> run;
    int shown; // how many reports the command shows (the recall report, then its list)
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int runs = 5;
    QString keep;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--keep") && i + 1 < args.size())
            keep = args[++i];
    }
    QTemporaryDir temp;
    const QString folder = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(folder);
    QTextStream out(stdout);

    generate(folder, QStringLiteral("champ200"), 200);
    ProgramState state;
    state.DataFolder = folder;
    state.GlobalSchool = QStringLiteral("Feis Example 2026");
    state.DataModule1 = std::make_unique<data::TDataModule1>(state);
    engine::Table& results = *state.DataModule1->results;
    engine::Table& info = *state.DataModule1->compinfo;
    results.setDatabaseName(QString());
    results.setTableName(QDir(folder).filePath(QStringLiteral("champ200.dbf")));
    info.setDatabaseName(QString());
    info.setTableName(QDir(folder).filePath(QStringLiteral("champ200_inf.dbf")));
    info.open();

    reports::TRecallRept recallRept(state);
    reports::TRecallRept3 recallRept3(state);
    reports::TRecalRead recalRead(state);
    reports::TAdjRecCheck adjRecCheck(state);
    reports::TFinalRept finalRept(state);
    reports::TFinalRept5x3 finalRept5x3(state);
    reports::TFinalRept3x4 finalRept3x4(state);
    reports::TFinalRept3x3 finalRept3x3(state);
    reports::TAdjAForm adjAForm(state);
    reports::TWinReport winReport(state);
    reports::TWinReportP winReportP(state);
    reports::TSoloWinForm soloWinForm(state);
    reports::TCompForm compForm(state);
    reports::THeader header(state);
    BenchDialogs dialogs;
    BenchReportDialogs reportDialogs;
    platform::setDialogs(&dialogs);
    reports::setReportDialogs(&reportDialogs);

    const auto roster = [](bool withRecall) {
        return [withRecall](ProgramState& s) {
            reports::launchChoices().championship = withRecall;
            reports::WinnersList1Click(s);
        };
    };
    const std::vector<Report> list{
        {"competitor list", reports::ListCompetitors1Click, 1},
        {"recall report (5 adjudicators)", reports::Print1Click, 2},
        {"adjudicator checksheets (5)", reports::RecallChecklists1Click, 5},
        {"final marks report (5 x 3 rounds)", reports::FinalResults1Click, 1},
        {"header sheet", reports::HeaderSheet1Click, 1},
        {"grid marks", reports::ResultsbyAdjA1Click, 1},
        {"winners roster, with recall", roster(true), 1},
        {"winners roster, without recall", roster(false), 1},
        {"solo result", reports::SoloWinners1Click, 1},
    };
    out << "200 dancers, 5 adjudicators, 3 rounds and the set; median of " << runs
        << " runs, ms from the command to the laid-out report\n";
    out << QString::asprintf("%-34s %6s %10s\n", "report", "pages", "ms");
    for (const Report& report : list) {
        std::vector<double> times;
        std::vector<double> listTimes;
        std::vector<int> pages;
        for (int run = 0; run < runs; ++run) {
            dialogs.shownMs.clear();
            dialogs.pages.clear();
            dialogs.timer.start();
            state.ReCalcFlag = false;
            report.run(state);
            if (int(dialogs.shownMs.size()) != report.shown)
                qFatal("%s showed %d reports", report.name, int(dialogs.shownMs.size()));
            // The command's first report, or all of them when they come together.
            times.push_back(report.shown == 2 ? dialogs.shownMs.front() : dialogs.shownMs.back());
            if (report.shown == 2)
                listTimes.push_back(dialogs.shownMs.back() - dialogs.shownMs.front());
            pages = dialogs.pages;
        }
        const int firstPages = pages.front();
        const int allPages = std::accumulate(pages.begin(), pages.end(), 0);
        out << QString::asprintf("%-34s %6d %10.2f\n", report.name,
                                 report.shown == 2 ? firstPages : allPages, median(times));
        if (!listTimes.empty())
            out << QString::asprintf("%-34s %6d %10.2f\n", "  then the recall list of 100",
                                     pages.back(), median(listTimes));
        out.flush();
    }
    reports::launchChoices().championship = true;
    platform::setDialogs(nullptr);
    reports::setReportDialogs(nullptr);
    info.close();

    // The command-line program, start to finish, as a person runs it.
    generate(folder, QStringLiteral("champ1000"), 1000);
    const QString pdf = QDir(folder).filePath(QStringLiteral("final1000.pdf"));
    std::vector<double> cliMs;
    QString said;
    for (int run = 0; run < runs; ++run) {
        QProcess cli;
        QElapsedTimer timer;
        timer.start();
        cli.start(QStringLiteral(JIGTALLY_CLI_PATH),
                  {QStringLiteral("report"), QStringLiteral("final"),
                   QDir(folder).filePath(QStringLiteral("champ1000.dbf")), QStringLiteral("--pdf"),
                   pdf, QStringLiteral("--recalc"), QStringLiteral("--checklist-done")});
        if (!cli.waitForFinished(120000) || cli.exitCode() != 0)
            qFatal("jigtally-cli failed: %s", cli.readAllStandardError().constData());
        cliMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        said = QString::fromUtf8(cli.readAllStandardOutput()).trimmed();
    }
    // The recalculation that --recalc runs first, on its own.
    std::vector<double> recalcMs;
    for (int run = 0; run < runs; ++run) {
        QProcess cli;
        QElapsedTimer timer;
        timer.start();
        cli.start(
            QStringLiteral(JIGTALLY_CLI_PATH),
            {QStringLiteral("recalc"), QDir(folder).filePath(QStringLiteral("champ1000.dbf"))});
        if (!cli.waitForFinished(120000) || cli.exitCode() != 0)
            qFatal("jigtally-cli recalc failed: %s", cli.readAllStandardError().constData());
        recalcMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    out << "\njigtally-cli on 1,000 dancers, whole program runs, median of " << runs << " runs\n"
        << QString::asprintf("  report final --recalc --checklist-done: %8.1f ms", median(cliMs))
        << " (" << said << ", " << QFile(pdf).size() / 1024 << " KiB)\n"
        << QString::asprintf("  recalc alone:                           %8.1f ms\n",
                             median(recalcMs));
    return 0;
}
