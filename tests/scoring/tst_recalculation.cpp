#include "ScoringFixture.h"
#include "data/DataModule.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "scoring/Recalculation.h"
#include "support/Competition.h"
#include "support/TempDataFolder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <cstring>
#include <iostream>
#include <string>

using namespace jt;

namespace {

// Child mode: hold the table for sole use until standard input closes.
int holdTable(const char* path) {
    engine::Table table;
    table.setTableName(QString::fromLocal8Bit(path));
    table.setExclusive(true);
    try {
        table.open();
    } catch (const engine::EngineError& e) {
        std::cerr << e.what() << std::endl;
        return 1;
    }
    std::cout << "held" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    table.close();
    return 0;
}

// Another process holding a table for sole use, as another user of the folder would.
class TableHolder final {
public:
    explicit TableHolder(const QString& path) {
        m_process.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--hold-table"), path});
        m_ready = m_process.waitForStarted() && m_process.waitForReadyRead(10000) &&
                  m_process.readLine().trimmed() == "held";
    }
    ~TableHolder() { release(); }
    bool holding() const { return m_ready; }
    void release() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
    bool m_ready = false;
};

// Recall stage values of the worked example: RECALLTTL of P to U.
const QVariantList kRecallTotals{262.5, 262.5, 192.5, 182.5, 0.0};
const QVariantList kGridTotals{245.0, 265.0, 210.0, 0.0, 0.0};

} // namespace

class TestRecalculation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_competition = test::Competition::closedOnU12();
        test::appendRecords(results(), test::exampleDancers(true));
    }
    void cleanup() { m_competition.reset(); }

    void bothStagesRun() {
        scoring::recalculate(results());
        QCOMPARE(test::readColumn(results(), "RECALLTTL"), kRecallTotals);
        QCOMPARE(test::readColumn(results(), "GRIDTOTAL"), kGridTotals);
    }

    // Another program takes the table for sole use between two passes of the recall
    // stage: the stage stops with the engine's error, what was posted stays, later
    // passes do not run and no working index is left. Once the
    // table is free a recalculation gives the right result.
    void failureHalfWayThroughAStage() {
        test::Records stale = test::exampleDancers(true);
        for (QVariantMap& r : stale)
            r.insert("CGRID1", 999);
        results().close();
        QVERIFY(QFile::remove(results().resolvedPath()));
        m_competition->folder.addCompetition(QStringLiteral("u12"));
        test::appendRecords(results(), stale);

        std::unique_ptr<TableHolder> holder;
        bool rankedB = false;
        connect(results_ptr(), &engine::Table::stateChanged, this, [&] {
            if (results().active() && results().indexName() == QLatin1String("adjbsub"))
                rankedB = true;
            else if (!results().active() && rankedB && !holder)
                holder = std::make_unique<TableHolder>(results().resolvedPath());
        });
        try {
            scoring::recalculate(results());
            QFAIL("the recalculation did not fail");
        } catch (const engine::EngineError& e) {
            QCOMPARE(e.kind(), engine::EngineError::Kind::InUse);
            QVERIFY2(e.message().contains("in use"), qPrintable(e.message()));
        }
        disconnect(results_ptr(), &engine::Table::stateChanged, this, nullptr);
        QVERIFY(holder && holder->holding());
        QVERIFY(!results().active());
        QVERIFY(!results().exclusive());
        QCOMPARE(test::indexNames(results()), QStringList());
        holder->release();

        QCOMPARE(test::readColumn(results(), "BGRID1"),
                 (QVariantList{75.0, 100.0, 65.0, 60.0, 0.0}));
        QCOMPARE(test::readColumn(results(), "CGRID1"),
                 (QVariantList{999.0, 999.0, 999.0, 999.0, 999.0}));
        QCOMPARE(test::readColumn(results(), "RECALLTTL"), (QVariantList{{}, {}, {}, {}, {}}));

        scoring::recalculate(results());
        QCOMPARE(test::readColumn(results(), "CGRID1"),
                 (QVariantList{87.5, 87.5, 62.5, 62.5, 0.0}));
        QCOMPARE(test::readColumn(results(), "RECALLTTL"), kRecallTotals);
        QCOMPARE(test::readColumn(results(), "GRIDTOTAL"), kGridTotals);
    }

    void tableInUseFromTheStart() {
        TableHolder holder(results().resolvedPath());
        QVERIFY(holder.holding());
        QVERIFY_THROWS_EXCEPTION(engine::EngineError, scoring::recalculate(results()));
        QCOMPARE(test::indexNames(results()), QStringList());
    }

    void cliRecalc() {
        const QString path = results().resolvedPath();
        QProcess cli;
        cli.start(QStringLiteral(JIGTALLY_CLI), {"recalc", path});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY2(cli.readAllStandardOutput().contains("recalculated, 5 dancers"),
                 cli.readAllStandardError().constData());
        QCOMPARE(test::readColumn(results(), "RECALLTTL"), kRecallTotals);
        QCOMPARE(test::readColumn(results(), "GRIDTOTAL"), kGridTotals);
        QCOMPARE(test::indexNames(results()), QStringList());
    }

    void cliRecalcOfATableInUse() {
        results().setExclusive(true);
        results().open();
        QProcess cli;
        cli.start(QStringLiteral(JIGTALLY_CLI), {"recalc", results().resolvedPath()});
        QVERIFY(cli.waitForFinished(60000));
        results().close();
        results().setExclusive(false);
        QCOMPARE(cli.exitCode(), 1);
        const QString err = QString::fromLocal8Bit(cli.readAllStandardError());
        QVERIFY2(err.contains("is in use by another user"), qPrintable(err));
        QCOMPARE(test::readColumn(results(), "RECALLTTL"), (QVariantList{{}, {}, {}, {}, {}}));
        QCOMPARE(test::indexNames(results()), QStringList());
    }

private:
    engine::Table& results() { return m_competition->results(); }
    engine::Table* results_ptr() { return &m_competition->results(); }

    std::unique_ptr<test::Competition> m_competition;
};

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--hold-table") == 0)
        return holdTable(argv[2]);
    QCoreApplication app(argc, argv);
    TestRecalculation test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recalculation.moc"
