// Times a full recalculation (recall stage, then final stage) of generated
// competitions beside the least any calculation must cost: copying the results file
// and syncing the copy once.
//
//   bench_recalc [DANCERS...] [--runs N] [--keep FOLDER]

#include "data/ProgramState.h"
#include "data/RecordLayouts.h"
#include "engine/IndexDefs.h"
#include "engine/Table.h"
#include "scoring/Recalculation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace jt;

// Five adjudicators, three rounds and the set; about half the dancers are recalled
// and have set-dance marks. Marks have one decimal, so ties occur as they do in life.
void generateCompetition(const QString& path, int dancers, quint32 seed) {
    engine::Table table;
    table.setTableName(path);
    table.createTable(data::resultsFields());
    table.addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
    table.setExclusive(true);
    table.open();
    QRandomGenerator random(seed);
    const auto mark = [&random] { return 50.0 + double(random.bounded(501)) / 10.0; };
    for (int i = 0; i < dancers; ++i) {
        table.append();
        table.fieldByName(QStringLiteral("SEQUENCE"))->setAsFloat(i + 1);
        table.fieldByName(QStringLiteral("COMP_NO"))->setAsFloat(100 + i);
        table.fieldByName(QStringLiteral("NAME"))
            ->setAsString(QStringLiteral("Dancer %1").arg(i + 1));
        table.fieldByName(QStringLiteral("SCHOOL"))
            ->setAsString(QStringLiteral("School %1").arg(i % 37));
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
    table.close();
}

// Copies the file and syncs the copy once: the floor under any pass that rewrites it.
double copyAndSyncMs(const QString& from, const QString& to) {
    QElapsedTimer timer;
    timer.start();
    QFile::remove(to);
    if (!QFile::copy(from, to))
        qFatal("cannot copy %s", qPrintable(from));
    const int fd = ::open(QFile::encodeName(to).constData(), O_RDWR);
    if (fd < 0 || ::fsync(fd) != 0)
        qFatal("cannot sync %s", qPrintable(to));
    ::close(fd);
    return double(timer.nsecsElapsed()) / 1e6;
}

double recalculateMs(const QString& path) {
    ProgramState state;
    data::TDataModule1 module(state);
    module.results->setDatabaseName(QString());
    module.results->setTableName(path);
    QElapsedTimer timer;
    timer.start();
    scoring::recalculate(*module.results);
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    std::vector<int> sizes;
    int runs = 3;
    QString keep;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--keep") && i + 1 < args.size())
            keep = args[++i];
        else
            sizes.push_back(args[i].toInt());
    }
    if (sizes.empty())
        sizes = {100, 1000, 10000};

    QTemporaryDir temp;
    const QString folder = keep.isEmpty() ? temp.path() : keep;
    out << "Full recalculation (both stages), five adjudicators, three rounds and the set\n"
        << "in " << folder << ", median of " << runs << " runs\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5\n")
               .arg(QStringLiteral("dancers"), 8)
               .arg(QStringLiteral("file KiB"), 9)
               .arg(QStringLiteral("copy+sync ms"), 13)
               .arg(QStringLiteral("recalc ms"), 10)
               .arg(QStringLiteral("ratio"), 7);
    out.flush();

    std::vector<double> times;
    for (const int dancers : sizes) {
        const QString pristine = folder + QStringLiteral("/pristine%1.dbf").arg(dancers);
        const QString work = folder + QStringLiteral("/comp%1.dbf").arg(dancers);
        const QString copy = folder + QStringLiteral("/copy%1.dbf").arg(dancers);
        generateCompetition(pristine, dancers, 2008u + quint32(dancers));
        std::vector<double> floors;
        std::vector<double> recalcs;
        for (int run = 0; run < runs; ++run) {
            floors.push_back(copyAndSyncMs(pristine, copy));
            // Every run starts from marks with nothing computed yet.
            QFile::remove(work);
            QFile::copy(pristine, work);
            QFile::copy(engine::IndexStore::pathFor(pristine), engine::IndexStore::pathFor(work));
            recalcs.push_back(recalculateMs(work));
        }
        const double floor = median(floors);
        const double recalc = median(recalcs);
        times.push_back(recalc);
        out << QStringLiteral("%1 %2 %3 %4 %5\n")
                   .arg(dancers, 8)
                   .arg(double(QFileInfo(pristine).size()) / 1024.0, 9, 'f', 0)
                   .arg(floor, 13, 'f', 2)
                   .arg(recalc, 10, 'f', 2)
                   .arg(recalc / floor, 7, 'f', 2);
        out.flush();
    }
    for (std::size_t i = 1; i < sizes.size(); ++i) {
        const double n0 = sizes[i - 1], n1 = sizes[i];
        const double nlogn = (n1 * std::log(n1)) / (n0 * std::log(n0));
        out << "\n"
            << sizes[i - 1] << " -> " << sizes[i] << " dancers: time x"
            << QString::number(times[i] / times[i - 1], 'f', 2) << ", N log N allows x"
            << QString::number(nlogn, 'f', 2);
    }
    out << "\n";
    return 0;
}
