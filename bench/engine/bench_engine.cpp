// Figures of the table engine on a results table of 1,000 and 10,000 dancers:
//   bench_engine [folder]   (a temporary folder when none is given)
// Each figure is the median of three runs, in milliseconds.
#include "data/RecordLayouts.h"
#include "engine/IndexDefs.h"
#include "engine/Table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

using namespace jt::engine;

namespace {

double median3(const std::function<double()>& run) {
    std::vector<double> t{run(), run(), run()};
    std::sort(t.begin(), t.end());
    return t[1];
}

double millis(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

void create(const QString& path, int records) {
    Table t;
    t.setTableName(path);
    t.createTable(jt::data::resultsFields());
    t.setExclusive(true);
    t.open();
    auto* random = QRandomGenerator::global();
    const QStringList marks = {"A1", "A2", "B1", "B2", "C1", "C2", "D1", "D2", "E1", "E2"};
    for (int i = 0; i < records; ++i) {
        t.append();
        t.fieldByName(QStringLiteral("SEQUENCE"))->setAsInteger(records - i);
        t.fieldByName(QStringLiteral("COMP_NO"))->setAsInteger(100 + i);
        t.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("Dancer %1").arg(i));
        for (const QString& m : marks)
            t.fieldByName(m)->setAsFloat(double(random->bounded(4000, 10000)) / 100.0);
        t.post();
    }
    t.close();
}

void copyAndSync(const QString& from, const QString& to) {
    QFile in(from);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    const int fd = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
    ::fdatasync(fd);
    ::close(fd);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    std::printf("%-44s %12s %12s\n", "results table (ms, median of 3)", "1,000", "10,000");
    struct Row {
        const char* name;
        double figures[2];
    };
    std::vector<Row> rows = {{"create (createTable + append all, sole use)", {}},
                             {"open and read every field of every record", {}},
                             {"one durable post", {}},
                             {"10 passes of edit+post, sole use", {}},
                             {"index build (addIndex + open in its order)", {}},
                             {"copy the file and sync it once", {}},
                             {"file size (KiB)", {}}};
    const int sizes[2] = {1000, 10000};
    for (int s = 0; s < 2; ++s) {
        const int n = sizes[s];
        const QString path = folder + QStringLiteral("/bench%1.dbf").arg(n);
        rows[0].figures[s] = median3([&] {
            QElapsedTimer timer;
            timer.start();
            create(path, n);
            return millis(timer);
        });
        rows[1].figures[s] = median3([&] {
            QElapsedTimer timer;
            timer.start();
            Table t;
            t.setTableName(path);
            t.open();
            double sum = 0;
            for (t.first(); !t.eof(); t.next())
                for (int f = 0; f < t.fieldCount(); ++f)
                    sum += t.fieldAt(f)->asFloat();
            t.close();
            return sum == -1 ? 0 : millis(timer);
        });
        rows[2].figures[s] = median3([&] {
            Table t;
            t.setTableName(path);
            t.open();
            t.moveToRow(n / 2);
            t.edit();
            t.fieldByName(QStringLiteral("A1"))
                ->setAsFloat(double(QRandomGenerator::global()->bounded(100)));
            QElapsedTimer timer;
            timer.start();
            t.post();
            return millis(timer);
        });
        rows[3].figures[s] = median3([&] {
            QElapsedTimer timer;
            timer.start();
            Table t;
            t.setTableName(path);
            t.setExclusive(true);
            t.open();
            for (int pass = 0; pass < 10; ++pass) {
                for (t.first(); !t.eof(); t.next()) {
                    t.edit();
                    t.fieldByName(QStringLiteral("ASUBTOTAL"))
                        ->setAsFloat(t.fieldByName(QStringLiteral("A1"))->asFloat() + pass);
                    t.fieldByName(QStringLiteral("AGRID1"))->setAsFloat(100.0 / (pass + 1));
                    t.post();
                }
            }
            t.close();
            return millis(timer);
        });
        rows[4].figures[s] = median3([&] {
            Table t;
            t.setTableName(path);
            QElapsedTimer timer;
            timer.start();
            t.addIndex(QStringLiteral("work"), QStringLiteral("A1"), true);
            t.setIndexName(QStringLiteral("work"));
            t.open();
            const double ms = millis(timer);
            t.close();
            t.setIndexName(QString());
            t.deleteIndex(QStringLiteral("work"));
            return ms;
        });
        rows[5].figures[s] = median3([&] {
            QElapsedTimer timer;
            timer.start();
            copyAndSync(path, path + QStringLiteral(".copy"));
            return millis(timer);
        });
        rows[6].figures[s] = double(QFile(path).size()) / 1024.0;
    }
    for (const Row& r : rows)
        std::printf("%-44s %12.2f %12.2f\n", r.name, r.figures[0], r.figures[1]);
    return 0;
}
