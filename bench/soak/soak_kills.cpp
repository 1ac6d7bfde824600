// Kills a program that posts marks and recalculates, over and over, at random moments,
// and checks after each kill what a user would find: the table passes
// `jigtally-cli check`, every post that had returned before the kill is there, and a
// recalculation goes through at the first try.
//
//   soak_kills --cli PATH [--kills N] [--seconds S] [--dancers D] [--seed N]
//
// Stops after N kills (default 200) or S seconds (default 600), whichever comes first.
// Prints the kills, the posts confirmed and verified, and the failures; exits 1 when any
// check failed or fewer than N kills were made.

#include "data/RecordLayouts.h"
#include "engine/EngineError.h"
#include "engine/IndexDefs.h"
#include "engine/Table.h"
#include "scoring/Recalculation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <csignal>
#include <optional>
#include <unistd.h>
#include <utility>

namespace {

using namespace jt;

const QStringList kMarkFields = [] {
    QStringList fields;
    for (const char letter : data::kAdjudicatorLetters)
        for (const char* round : {"1", "2", "3", "SET"})
            fields << QLatin1Char(letter) + QLatin1String(round);
    return fields;
}();

void say(const QByteArray& line) {
    const QByteArray out = line + '\n';
    qint64 done = 0;
    while (done < out.size()) {
        const ssize_t n = ::write(1, out.constData() + done, std::size_t(out.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

void makeCompetition(const QString& path, int dancers) {
    engine::Table table;
    table.setTableName(path);
    table.createTable(data::resultsFields());
    table.addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
    table.setExclusive(true);
    table.open();
    for (int i = 0; i < dancers; ++i) {
        table.append();
        table.fieldByName(QStringLiteral("SEQUENCE"))->setAsFloat(i + 1);
        table.fieldByName(QStringLiteral("COMP_NO"))->setAsFloat(100 + i);
        table.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("Dancer %1").arg(i));
        table.fieldByName(QStringLiteral("RECALLED"))->setAsBoolean(i % 2 == 0);
        table.post();
    }
    table.close();
}

// The child: posts one mark at a time as the marks windows do (the table shared, each
// post on the disk when it returns) and recalculates after every few posts. Before a
// post it says "posting RECORD FIELD VALUE", after it "posted".
int child(const QString& path, quint32 seed) {
    QRandomGenerator random(seed);
    engine::Table table;
    table.setTableName(path);
    try {
        for (int round = 0;; ++round) {
            table.open();
            const int records = table.recordCount();
            const int posts = 1 + int(random.bounded(6));
            for (int p = 0; p < posts; ++p) {
                const int record = int(random.bounded(records));
                const QString field = kMarkFields[int(random.bounded(kMarkFields.size()))];
                const int value = 1 + int(random.bounded(999));
                table.first();
                for (int i = 0; i < record; ++i)
                    table.next();
                say(QStringLiteral("posting %1 %2 %3").arg(record).arg(field).arg(value).toUtf8());
                table.edit();
                table.fieldByName(field)->setAsFloat(value / 10.0);
                table.post();
                say("posted");
            }
            table.close();
            say("recalculating");
            scoring::recalculate(table);
            say("recalculated");
        }
    } catch (const engine::EngineError& e) {
        say("error " + e.message().toUtf8());
        return 1;
    }
}

struct Cell {
    int record = 0;
    QString field;
    friend bool operator<(const Cell& a, const Cell& b) {
        return a.record != b.record ? a.record < b.record : a.field < b.field;
    }
};

struct Figures {
    int kills = 0;
    qint64 postsConfirmed = 0;
    qint64 postsVerified = 0;
    int killedMidPost = 0;
    int killedMidRecalc = 0;
    int recalcs = 0;
    int failures = 0;
};

class Soak {
public:
    Soak(const QString& cli, const QString& path, QTextStream& out)
        : m_cli(cli), m_path(path), m_out(out) {}

    // One life of the child: started, left to work for a random while, killed.
    void killOnce(QRandomGenerator& random, Figures& figures) {
        QProcess process;
        process.setProgram(QCoreApplication::applicationFilePath());
        process.setArguments(
            {QStringLiteral("--child"), m_path, QString::number(random.generate())});
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start();
        if (!process.waitForStarted(10000)) {
            fail(QStringLiteral("the child did not start"), figures);
            return;
        }
        QThread::msleep(10 + random.bounded(300u));
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished(10000);
        ++figures.kills;
        read(process.readAllStandardOutput(), figures);
    }

    // What the user finds after the kill. Every other time the recalculation comes
    // first, before anything else has read the table and its definitions.
    void verify(Figures& figures) {
        const bool recalculateFirst = figures.kills % 2 == 1;
        if (recalculateFirst)
            recalculate(figures);
        check(figures);
        try {
            engine::Table table;
            table.setTableName(m_path);
            table.open();
            QList<QVariantList> rows;
            for (table.first(); !table.eof(); table.next()) {
                QVariantList row;
                for (const QString& field : kMarkFields)
                    row << qRound(table.fieldByName(field)->asFloat() * 10);
                rows << row;
            }
            table.close();
            for (auto it = m_confirmed.begin(); it != m_confirmed.end(); ++it) {
                const int stored =
                    rows.value(it.key().record).value(kMarkFields.indexOf(it.key().field)).toInt();
                const bool inFlight = m_inFlight && it.key().record == m_inFlight->first.record &&
                                      it.key().field == m_inFlight->first.field;
                if (stored == it.value() || (inFlight && stored == m_inFlight->second)) {
                    ++figures.postsVerified;
                    continue;
                }
                fail(QStringLiteral("record %1 %2 holds %3, posted %4")
                         .arg(it.key().record)
                         .arg(it.key().field)
                         .arg(stored)
                         .arg(it.value()),
                     figures);
            }
            // A post cut short may have reached the disk; from now on it is what is there.
            if (m_inFlight) {
                const Cell& cell = m_inFlight->first;
                m_confirmed[cell] =
                    rows.value(cell.record).value(kMarkFields.indexOf(cell.field)).toInt();
                m_inFlight.reset();
            }
            const engine::IndexDefList defs = engine::IndexStore::read(m_path);
            if (defs.size() != 1 || defs[0].name != QLatin1String("seqno"))
                fail(QStringLiteral("index definitions left: %1").arg(defs.size()), figures);
        } catch (const engine::EngineError& e) {
            fail(e.message(), figures);
        }
        if (!recalculateFirst)
            recalculate(figures);
    }

private:
    void check(Figures& figures) {
        QProcess check;
        check.start(m_cli, {QStringLiteral("check"), m_path});
        check.waitForFinished(60000);
        if (check.exitStatus() != QProcess::NormalExit || check.exitCode() != 0)
            fail(QStringLiteral("check: ") + QString::fromUtf8(check.readAllStandardError()) +
                     QString::fromUtf8(check.readAllStandardOutput()),
                 figures);
    }

    // The one try a user makes.
    void recalculate(Figures& figures) {
        try {
            engine::Table table;
            table.setTableName(m_path);
            scoring::recalculate(table);
            ++figures.recalcs;
        } catch (const engine::EngineError& e) {
            fail(QStringLiteral("recalculation: ") + e.message(), figures);
        }
    }

    void read(const QByteArray& output, Figures& figures) {
        bool recalculating = false;
        for (const QByteArray& line : output.split('\n')) {
            if (line.startsWith("posting ")) {
                const QList<QByteArray> parts = line.split(' ');
                m_inFlight =
                    std::make_pair(Cell{parts.value(1).toInt(), QString::fromUtf8(parts.value(2))},
                                   parts.value(3).toInt());
            } else if (line == "posted" && m_inFlight) {
                m_confirmed[m_inFlight->first] = m_inFlight->second;
                m_inFlight.reset();
                ++figures.postsConfirmed;
            } else if (line == "recalculating") {
                recalculating = true;
            } else if (line == "recalculated") {
                recalculating = false;
            } else if (line.startsWith("error ")) {
                fail(QStringLiteral("child: ") + QString::fromUtf8(line.mid(6)), figures);
            }
        }
        if (m_inFlight)
            ++figures.killedMidPost;
        if (recalculating)
            ++figures.killedMidRecalc;
    }

    void fail(const QString& what, Figures& figures) {
        ++figures.failures;
        m_out << "failure after kill " << figures.kills << ": " << what.trimmed() << '\n';
        m_out.flush();
    }

    QString m_cli;
    QString m_path;
    QTextStream& m_out;
    QMap<Cell, int> m_confirmed; // the value of each mark's last post that returned
    std::optional<std::pair<Cell, int>> m_inFlight;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--child"))
        return child(args.value(2), args.value(3).toUInt());

    QString cli;
    int kills = 200;
    int seconds = 600;
    int dancers = 40;
    quint32 seed = QRandomGenerator::system()->generate();
    for (int i = 1; i < args.size(); ++i) {
        const QString next = args.value(i + 1);
        if (args[i] == QLatin1String("--cli"))
            cli = next;
        else if (args[i] == QLatin1String("--kills"))
            kills = next.toInt();
        else if (args[i] == QLatin1String("--seconds"))
            seconds = next.toInt();
        else if (args[i] == QLatin1String("--dancers"))
            dancers = next.toInt();
        else if (args[i] == QLatin1String("--seed"))
            seed = next.toUInt();
        else
            continue;
        ++i;
    }
    QTextStream out(stdout);
    if (cli.isEmpty() || kills <= 0 || dancers <= 0) {
        out << "usage: soak_kills --cli PATH [--kills N] [--seconds S] [--dancers D] [--seed N]\n";
        return 2;
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("soak.dbf"));
    makeCompetition(path, dancers);

    QRandomGenerator random(seed);
    Soak soak(cli, path, out);
    Figures figures;
    QElapsedTimer clock;
    clock.start();
    while (figures.kills < kills && clock.elapsed() < qint64(seconds) * 1000) {
        soak.killOnce(random, figures);
        soak.verify(figures);
    }
    out << "seed " << seed << ", " << dancers << " dancers, " << clock.elapsed() / 1000.0 << " s\n";
    out << "kills " << figures.kills << " (" << figures.killedMidPost << " during a post, "
        << figures.killedMidRecalc << " during a recalculation)\n";
    out << "posts confirmed " << figures.postsConfirmed << ", marks verified "
        << figures.postsVerified << "\n";
    out << "recalculations at the first try after a kill " << figures.recalcs << "\n";
    out << "failures " << figures.failures << "\n";
    return figures.failures == 0 && figures.kills >= kills ? 0 : 1;
}
