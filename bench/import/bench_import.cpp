// Figures of the dancer import: a 5,000-row .xlsx and a 5,000-row .xls read and
// imported into a results table, beside the same rows appended by the table engine alone.
//   bench_import [folder]   (a temporary folder when none is given)
// The spreadsheets are written by tests/exchange/sheet_peer.py (python3-openpyxl,
// python3-xlwt). Each figure is the median of three runs, in milliseconds.
#include "data/DataModule.h"
#include "data/ProgramState.h"
#include "data/RecordLayouts.h"
#include "engine/AliasRegistry.h"
#include "engine/Table.h"
#include "exchange/SpreadsheetReader.h"
#include "setup/DancerImport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace jt;

namespace {

constexpr int kRows = 5000;

double median3(const std::function<double()>& run) {
    std::vector<double> t{run(), run(), run()};
    std::sort(t.begin(), t.end());
    return t[1];
}

double millis(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

QString name(int i) {
    return QStringLiteral("Dancer Number %1 Ní Bhriain").arg(i);
}
QString school(int i) {
    return QStringLiteral("Scoil Rince %1").arg(i % 40);
}

bool writeSheet(const QString& kind, const QString& path) {
    QJsonArray rows;
    rows.append(QJsonArray{QStringLiteral("No"), QStringLiteral("Name"), QStringLiteral("School")});
    for (int i = 0; i < kRows; ++i)
        rows.append(QJsonArray{100 + i, name(i), school(i)});
    const QJsonArray sheets{QJsonObject{{QStringLiteral("name"), QStringLiteral("Dancers")},
                                        {QStringLiteral("rows"), rows}}};
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(JIGTALLY_SHEET_PEER), kind, path});
    p.write(QJsonDocument(sheets).toJson(QJsonDocument::Compact));
    p.closeWriteChannel();
    return p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void emptyTable(const QString& path) {
    engine::Table t;
    t.setTableName(path);
    t.createTable(data::resultsFields());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    const QString xlsx = QDir(folder).filePath(QStringLiteral("dancers.xlsx"));
    const QString xls = QDir(folder).filePath(QStringLiteral("dancers.xls"));
    if (!writeSheet(QStringLiteral("xlsx"), xlsx) || !writeSheet(QStringLiteral("xls"), xls)) {
        std::fprintf(stderr, "sheet_peer.py could not write the spreadsheets "
                             "(python3-openpyxl and python3-xlwt are needed)\n");
        return 1;
    }
    const QString table = QDir(folder).filePath(QStringLiteral("bench.dbf"));
    ProgramState state;
    data::TDataModule1 module(state);
    module.results->setDatabaseName(QString());
    module.results->setTableName(table);

    auto importOnce = [&](const QString& file) {
        emptyTable(table);
        module.results->open();
        QElapsedTimer timer;
        timer.start();
        const exchange::ImportResult r =
            setup::importDancers(*module.results, file, exchange::ImportMode::Append);
        const double ms = millis(timer);
        if (!r.completed || module.results->rowCount() != kRows)
            std::fprintf(stderr, "import failed: %s\n", qPrintable(r.error));
        module.results->close();
        return ms;
    };
    for (const auto& [label, file] : {std::pair{"xlsx", xlsx}, std::pair{"xls", xls}}) {
        const double read = median3([&] {
            QElapsedTimer timer;
            timer.start();
            const exchange::SheetResult r = exchange::readFirstSheet(file);
            if (!r.sheet || r.sheet->rowCount() != kRows + 1)
                std::fprintf(stderr, "reading failed: %s\n", qPrintable(r.error));
            return millis(timer);
        });
        const double import = median3([&] { return importOnce(file); });
        std::printf(
            "%-52s %10.1f\n",
            qPrintable(QStringLiteral("read the %1 (first sheet)").arg(QLatin1String(label))),
            read);
        std::printf("%-52s %10.1f\n",
                    qPrintable(QStringLiteral("import the %1 (read + append, sole use)")
                                   .arg(QLatin1String(label))),
                    import);
    }
    auto engineAppend = [&](bool exclusive) {
        emptyTable(table);
        engine::Table t;
        t.setTableName(table);
        t.setExclusive(exclusive);
        QElapsedTimer timer;
        timer.start();
        t.open();
        engine::Field* no = t.fieldByName(QStringLiteral("COMP_NO"));
        engine::Field* nm = t.fieldByName(QStringLiteral("NAME"));
        engine::Field* sc = t.fieldByName(QStringLiteral("SCHOOL"));
        for (int i = 0; i < kRows; ++i) {
            t.append();
            no->setAsInteger(100 + i);
            nm->setAsString(name(i));
            sc->setAsString(school(i));
            t.post();
        }
        t.close();
        return millis(timer);
    };
    std::printf("%-52s %10.1f\n", "append the rows with the engine alone, sole use",
                median3([&] { return engineAppend(true); }));
    std::printf("%-52s %10.1f\n", "append the rows with the engine alone, shared",
                median3([&] { return engineAppend(false); }));
    return 0;
}
