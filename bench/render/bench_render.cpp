// Lays out the competitor list of 1,000 and 10,000 dancers and writes it to PDF;
// prints the times and page counts. Run in a Release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/render/bench_render [FOLDER]

#include "data/ProgramState.h"
#include "data/RecordLayouts.h"
#include "engine/Table.h"
#include "render/Layout.h"
#include "render/PdfOutput.h"
#include "reports/ReportTexts.h"
#include "reports/TCompForm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

using namespace jt;

void generate(const QString& path, int dancers) {
    engine::Table table;
    table.setTableName(path);
    table.createTable(data::resultsFields());
    table.setExclusive(true);
    table.open();
    for (int i = 0; i < dancers; ++i) {
        table.append();
        table.fieldByName(QStringLiteral("SEQUENCE"))->setAsFloat(i + 1);
        table.fieldByName(QStringLiteral("COMP_NO"))->setAsFloat(100 + i);
        table.fieldByName(QStringLiteral("NAME"))
            ->setAsString(QStringLiteral("Dancer Number %1").arg(i + 1));
        table.fieldByName(QStringLiteral("SCHOOL"))
            ->setAsString(QStringLiteral("Scoil Rince %1").arg(i % 37));
        table.post();
    }
    table.close();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir temp;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    QDir().mkpath(folder);
    QTextStream out(stdout);
    out << "competitor list: lay out, then write the PDF (median of 3 runs)\n";
    out << "dancers   pages   layout ms   pdf ms   total ms   ms per 1,000 dancers\n";

    ProgramState state;
    state.DataModule1 = std::make_unique<data::TDataModule1>(state);
    reports::TCompForm form(state);
    form.setEventName(QStringLiteral("Feis Example 2026"));
    engine::Table& results = *state.DataModule1->results;
    results.setDatabaseName(QString());

    for (const int dancers : {1000, 10000}) {
        const QString path = QDir(folder).filePath(QStringLiteral("bench%1.dbf").arg(dancers));
        generate(path, dancers);
        results.setTableName(path);
        results.open();
        form.dataSet = &results;
        form.ReportTitle->prefix = reports::competitionDisplayName(results);
        std::vector<double> layoutMs, pdfMs;
        int pages = 0;
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer timer;
            timer.start();
            const render::Document doc = render::layOut(form).document;
            layoutMs.push_back(double(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            render::writePdf(doc,
                             QDir(folder).filePath(QStringLiteral("bench%1.pdf").arg(dancers)));
            pdfMs.push_back(double(timer.nsecsElapsed()) / 1e6);
            pages = doc.pageCount();
        }
        results.close();
        const double l = median(layoutMs);
        const double p = median(pdfMs);
        out << QString::asprintf("%7d %7d %11.1f %8.1f %10.1f %12.1f\n", dancers, pages, l, p,
                                 l + p, (l + p) / (dancers / 1000.0));
        out.flush();
    }
    return 0;
}
