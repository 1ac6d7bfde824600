#include "ScoringFixture.h"
#include "data/DataModule.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "scoring/Recalculation.h"
#include "support/ChildProcess.h"
#include "support/Competition.h"
#include "support/TempDataFolder.h"

#include <QCoreApplication>
#include <QTest>

using namespace jt;

namespace {

// The other process ("hold PATH"): holds the table for sole use, as another user of the
// folder would, until the test lets it go.
int holdTable(const QStringList& args) {
    if (args.size() != 2 || args[0] != QLatin1String("hold"))
        return 2;
    engine::Table table;
    table.setTableName(args[1]);
    table.setExclusive(true);
    try {
        table.open();
    } catch (const engine::EngineError& e) {
        test::tellParent(QStringLiteral("error: ") + e.message());
        return 1;
    }
    test::tellParent(QStringLiteral("held"));
    test::waitForParent();
    table.close();
    return 0;
}

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

        std::unique_ptr<test::ChildProcess> holder;
        QString holderSaid;
        bool rankedB = false;
        connect(results_ptr(), &engine::Table::stateChanged, this, [&] {
            if (results().active() && results().indexName() == QLatin1String("adjbsub"))
                rankedB = true;
            else if (!results().active() && rankedB && !holder) {
                holder = std::make_unique<test::ChildProcess>();
                holderSaid = holder->startChild({QStringLiteral("hold"), results().resolvedPath()});
            }
        });
        try {
            scoring::recalculate(results());
            QFAIL("the recalculation did not fail");
        } catch (const engine::EngineError& e) {
            QCOMPARE(e.kind(), engine::EngineError::Kind::InUse);
            QVERIFY2(e.message().contains("in use"), qPrintable(e.message()));
        }
        disconnect(results_ptr(), &engine::Table::stateChanged, this, nullptr);
        QVERIFY(holder);
        QCOMPARE(holderSaid, QStringLiteral("held"));
        QVERIFY(!results().active());
        QVERIFY(!results().exclusive());
        QCOMPARE(test::indexNames(results()), QStringList());
        holder->stop();

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
        test::ChildProcess holder;
        QCOMPARE(holder.startChild({QStringLiteral("hold"), results().resolvedPath()}),
                 QStringLiteral("held"));
        QVERIFY_THROWS_EXCEPTION(engine::EngineError, scoring::recalculate(results()));
        QCOMPARE(test::indexNames(results()), QStringList());
    }

    void cliRecalc() {
        const QString path = results().resolvedPath();
        const test::ProgramRun cli =
            test::runProgram(QStringLiteral(JIGTALLY_CLI), {"recalc", path});
        QVERIFY(cli.finished);
        QCOMPARE(cli.exitCode, 0);
        QVERIFY2(cli.out.contains("recalculated, 5 dancers"), qPrintable(cli.err));
        QCOMPARE(test::readColumn(results(), "RECALLTTL"), kRecallTotals);
        QCOMPARE(test::readColumn(results(), "GRIDTOTAL"), kGridTotals);
        QCOMPARE(test::indexNames(results()), QStringList());
    }

    void cliRecalcOfATableInUse() {
        results().setExclusive(true);
        results().open();
        const test::ProgramRun cli =
            test::runProgram(QStringLiteral(JIGTALLY_CLI), {"recalc", results().resolvedPath()});
        results().close();
        results().setExclusive(false);
        QVERIFY(cli.finished);
        QCOMPARE(cli.exitCode, 1);
        QVERIFY2(cli.err.contains("is in use by another user"), qPrintable(cli.err));
        QCOMPARE(test::readColumn(results(), "RECALLTTL"), (QVariantList{{}, {}, {}, {}, {}}));
        QCOMPARE(test::indexNames(results()), QStringList());
    }

private:
    engine::Table& results() { return m_competition->results(); }
    engine::Table* results_ptr() { return &m_competition->results(); }

    std::unique_ptr<test::Competition> m_competition;
};

JT_TEST_MAIN_WITH_CHILD(TestRecalculation, holdTable)

#include "tst_recalculation.moc"
