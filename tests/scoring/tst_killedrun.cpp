// A recalculation or a report that dies (killed, or the program crashes) while its
// working index is in the table's index definitions: the next run works at the first
// try and finds the definitions and the table as they were before the dead run.
#include "ScoringFixture.h"
#include "engine/EngineError.h"
#include "engine/IndexDefs.h"
#include "engine/Table.h"
#include "engine/WorkingIndexes.h"
#include "reports/WorkingIndex.h"
#include "scoring/Recalculation.h"
#include "support/ChildProcess.h"
#include "support/Competition.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

using namespace jt;

namespace {

reports::WorkingIndex reportIndex(const QString& name) {
    for (const reports::WorkingIndex& index :
         {reports::kRecallIndex, reports::kFinalIndex, reports::kDancerIndex,
          reports::kRecalTmpIndex, reports::soloIndex(QStringLiteral("ASET"))})
        if (index.name == name)
            return index;
    return {};
}

// The other process:
//   recalc PATH INDEX N   recalculates; the N-th time the table is open ordered by the
//                         working index INDEX, says "paused" and waits to be killed
//   report PATH INDEX     runs a report's working index life cycle; its body writes
//                         POSITION 7 into the first record, says "paused" and waits
int deadRun(const QStringList& args) {
    if (args.size() < 3)
        return 2;
    engine::Table table;
    table.setTableName(args[1]);
    const auto pause = [] {
        test::tellParent(QStringLiteral("paused"));
        test::waitForParent();
    };
    try {
        if (args[0] == QLatin1String("recalc") && args.size() == 4) {
            int seen = 0;
            const int at = args[3].toInt();
            QObject::connect(&table, &engine::Table::stateChanged, [&] {
                if (table.active() && table.indexName() == args[2] && ++seen == at)
                    pause();
            });
            scoring::recalculate(table);
        } else if (args[0] == QLatin1String("report")) {
            reports::runWithWorkingIndex(table, reportIndex(args[2]), [&] {
                table.edit();
                table.fieldByName(QStringLiteral("POSITION"))->setAsInteger(7);
                table.post();
                pause();
            });
        } else {
            return 2;
        }
    } catch (const engine::EngineError& e) {
        test::tellParent(QStringLiteral("error: ") + e.message());
        return 1;
    }
    test::tellParent(QStringLiteral("not paused"));
    return 1;
}

const QVariantList kRecallTotals{262.5, 262.5, 192.5, 182.5, 0.0};
const QVariantList kGridTotals{245.0, 265.0, 210.0, 0.0, 0.0};

} // namespace

class TestKilledRun : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_competition = test::Competition::closedOnU12();
        test::appendRecords(results(), test::exampleDancers(true));
        results().addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
        m_path = results().resolvedPath();
    }
    void cleanup() { m_competition.reset(); }

    void killedRecalculation_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<int>("occurrence");
        QTest::addRow("first ranking of the recall stage") << QStringLiteral("adjasub") << 1;
        QTest::addRow("recall tie marks") << QStringLiteral("gridtie") << 1;
        QTest::addRow("ranking of the final stage") << QStringLiteral("adjcsub") << 2;
        QTest::addRow("final tie marks") << QStringLiteral("gridtie") << 2;
    }
    void killedRecalculation() {
        QFETCH(QString, index);
        QFETCH(int, occurrence);
        const QByteArray defsBefore = fileBytes(engine::IndexStore::pathFor(m_path));
        {
            test::ChildProcess child;
            QCOMPARE(child.startChild(
                         {QStringLiteral("recalc"), m_path, index, QString::number(occurrence)}),
                     QStringLiteral("paused"));
            child.kill();
        }
        // The dead run's index is still in the definitions, until they are next read.
        QVERIFY(fileBytes(engine::IndexStore::pathFor(m_path)).contains(index.toUtf8()));

        // The very next recalculation goes through, and puts the definitions back first.
        scoring::recalculate(results());
        QCOMPARE(test::readColumn(results(), QStringLiteral("RECALLTTL")), kRecallTotals);
        QCOMPARE(test::readColumn(results(), QStringLiteral("GRIDTOTAL")), kGridTotals);
        test::verifyLeftClosed(results());
        QCOMPARE(fileBytes(engine::IndexStore::pathFor(m_path)), defsBefore);
        QVERIFY(!QFile::exists(engine::IndexStore::undoPathFor(m_path)));
    }

    // The next open after a killed recalculation finds the table and its definitions as
    // they were before it.
    void killedRecalculationIsRolledBack() {
        const QByteArray tableBefore = fileBytes(m_path);
        const QByteArray defsBefore = fileBytes(engine::IndexStore::pathFor(m_path));
        {
            test::ChildProcess child;
            QCOMPARE(child.startChild({QStringLiteral("recalc"), m_path, QStringLiteral("adjbsub"),
                                       QStringLiteral("2")}),
                     QStringLiteral("paused"));
            child.kill();
        }
        QVERIFY(fileBytes(m_path) != tableBefore);
        results().open();
        QCOMPARE(test::indexNames(results()), QStringList{QStringLiteral("seqno")});
        results().close();
        QCOMPARE(fileBytes(m_path), tableBefore);
        QCOMPARE(fileBytes(engine::IndexStore::pathFor(m_path)), defsBefore);
        QVERIFY(!QFile::exists(engine::IndexStore::undoPathFor(m_path)));
    }

    void killedReport_data() {
        QTest::addColumn<QString>("index");
        for (const char* name : {"recall", "final", "dancer", "recaltmp", "solo"})
            QTest::addRow("%s", name) << QString::fromLatin1(name);
    }
    void killedReport() {
        QFETCH(QString, index);
        {
            test::ChildProcess child;
            QCOMPARE(child.startChild({QStringLiteral("report"), m_path, index}),
                     QStringLiteral("paused"));
            child.kill();
        }
        // The next run of the report adds its index at the first try.
        bool ran = false;
        reports::runWithWorkingIndex(results(), reportIndex(index), [&] {
            QCOMPARE(results().indexName(), index);
            ran = true;
        });
        QVERIFY(ran);
        test::verifyLeftClosed(results());
        QVERIFY(!QFile::exists(engine::IndexStore::undoPathFor(m_path)));
    }

    // A program that is alive and at work keeps its working index: another program's
    // read does not take its saved definitions for a dead one's.
    void liveRunKeepsItsIndex() {
        test::ChildProcess child;
        QCOMPARE(child.startChild({QStringLiteral("report"), m_path, QStringLiteral("final")}),
                 QStringLiteral("paused"));
        QCOMPARE(test::indexNames(results()),
                 (QStringList{QStringLiteral("seqno"), QStringLiteral("final")}));
        QVERIFY(QFile::exists(engine::IndexStore::undoPathFor(m_path)));
        child.stop();
        QCOMPARE(test::indexNames(results()), QStringList{QStringLiteral("seqno")});
        QVERIFY(!QFile::exists(engine::IndexStore::undoPathFor(m_path)));
        // What the report's body posted stays.
        QCOMPARE(test::readColumn(results(), QStringLiteral("POSITION")).value(0), QVariant(7.0));
    }

private:
    static QByteArray fileBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    engine::Table& results() { return m_competition->results(); }

    std::unique_ptr<test::Competition> m_competition;
    QString m_path;
};

JT_TEST_MAIN_WITH_CHILD(TestKilledRun, deadRun)

#include "tst_killedrun.moc"
