#include "ReportFixture.h"
#include "engine/EngineError.h"
#include "reports/Positions.h"
#include "reports/WorkingIndex.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QTest>

using namespace jt;

namespace {

QStringList indexNames(engine::Table& t) {
    QStringList names;
    for (const auto& def : t.indexDefs())
        names << def.name;
    return names;
}

// The index names stored beside the table (read through a fresh handle).
QStringList storedIndexNames(engine::Table& t) {
    engine::Table probe;
    probe.setDatabaseName(t.databaseName());
    probe.setTableName(t.tableName());
    probe.updateIndexDefs();
    return indexNames(probe);
}

} // namespace

class TestReportPasses final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workingIndexLifeCycle();
    void workingIndexRemovedAfterFailure_data();
    void workingIndexRemovedAfterFailure();
    void assignPositions_data();
    void assignPositions();
};

void TestReportPasses::workingIndexLifeCycle() {
    test::ReportFixture f;
    f.addDancers({{{QStringLiteral("COMP_NO"), 1.0}, {QStringLiteral("RECALLTTL"), 100.0}},
                  {{QStringLiteral("COMP_NO"), 2.0}, {QStringLiteral("RECALLTTL"), 300.0}},
                  {{QStringLiteral("COMP_NO"), 3.0}, {QStringLiteral("RECALLTTL"), 200.0}}});
    engine::Table& t = f.results();
    t.open(); // the life cycle starts by closing it
    QList<int> order;
    reports::runWithWorkingIndex(t, reports::kRecallIndex, [&] {
        QVERIFY(t.active() && t.exclusive());
        QCOMPARE(t.indexName(), QStringLiteral("recall"));
        QCOMPARE(t.currentRow(), 0);
        for (t.first(); !t.eof(); t.next())
            order << t.fieldByName(QStringLiteral("COMP_NO"))->asInteger();
        t.setFilter(QStringLiteral("RECALLTTL > 150"));
        t.setFiltered(true);
    });
    QCOMPARE(order, (QList<int>{2, 3, 1}));
    QVERIFY(!t.active());
    QVERIFY(!t.exclusive());
    QVERIFY(t.indexName().isEmpty());
    QVERIFY(!t.filtered());
    QVERIFY(t.filter().isEmpty());
    QVERIFY(!storedIndexNames(t).contains(QStringLiteral("recall")));

    // An ascending one.
    order.clear();
    reports::runWithWorkingIndex(t, reports::kDancerIndex, [&] {
        for (t.first(); !t.eof(); t.next())
            order << t.fieldByName(QStringLiteral("COMP_NO"))->asInteger();
    });
    QCOMPARE(order, (QList<int>{1, 2, 3}));
}

void TestReportPasses::workingIndexRemovedAfterFailure_data() {
    QTest::addColumn<bool>("heldElsewhere"); // sole use cannot be had
    QTest::newRow("report fails") << false;
    QTest::newRow("table in use elsewhere") << true;
}

void TestReportPasses::workingIndexRemovedAfterFailure() {
    QFETCH(bool, heldElsewhere);
    test::ReportFixture f;
    f.addNumberedDancers(3);
    engine::Table& t = f.results();
    engine::Table other;
    other.setDatabaseName(t.databaseName());
    other.setTableName(t.tableName());
    if (heldElsewhere)
        other.open();
    bool ran = false;
    try {
        reports::runWithWorkingIndex(t, reports::kFinalIndex, [&] {
            ran = true;
            throw engine::EngineError(QStringLiteral("the report failed"));
        });
        QFAIL("the failure was swallowed");
    } catch (const engine::EngineError& e) {
        if (!heldElsewhere)
            QCOMPARE(e.message(), QStringLiteral("the report failed"));
    }
    QCOMPARE(ran, !heldElsewhere);
    other.close();
    QVERIFY(!t.active());
    QVERIFY(!t.exclusive());
    QVERIFY(t.indexName().isEmpty());
    QVERIFY(!storedIndexNames(t).contains(QStringLiteral("final")));
    // And the next run works.
    reports::runWithWorkingIndex(t, reports::kFinalIndex, [&] { QCOMPARE(t.recordCount(), 3); });
}

void TestReportPasses::assignPositions_data() {
    QTest::addColumn<QList<double>>("totals"); // in record order
    QTest::addColumn<QList<int>>("positions"); // of the same records
    QTest::newRow("sports ranking") << QList<double>{240, 250, 230, 240} << QList<int>{2, 1, 4, 2};
    QTest::newRow("equal at two decimals")
        << QList<double>{60.333, 60.334, 59} << QList<int>{1, 1, 3};
    QTest::newRow("differ at two decimals") << QList<double>{60.334, 60.336} << QList<int>{2, 1};
    QTest::newRow("recall example")
        << QList<double>{300, 280, 280, 250, 250, 250, 200} << QList<int>{1, 2, 2, 4, 4, 4, 7};
    QTest::newRow("zeros share the last place")
        << QList<double>{0, 10, 0, 5} << QList<int>{3, 1, 3, 2};
    QTest::newRow("one dancer") << QList<double>{12.5} << QList<int>{1};
}

void TestReportPasses::assignPositions() {
    QFETCH(QList<double>, totals);
    QFETCH(QList<int>, positions);
    test::ReportFixture f;
    QList<QVariantMap> dancers;
    for (int i = 0; i < totals.size(); ++i)
        dancers.append(
            {{QStringLiteral("COMP_NO"), double(i + 1)}, {QStringLiteral("RECALLTTL"), totals[i]}});
    f.addDancers(dancers);
    f.state.ReCalcFlag = false;
    engine::Table& t = f.results();
    reports::runWithWorkingIndex(t, reports::kRecallIndex, [&] {
        reports::AssignPositions(t, QStringLiteral("RECALLTTL"));
        QCOMPARE(t.currentRow(), 0); // back on the first record
    });
    QVERIFY(f.state.ReCalcFlag); // each post set the flag
    t.open();
    QList<int> got;
    for (t.first(); !t.eof(); t.next())
        got << t.fieldByName(QStringLiteral("POSITION"))->asInteger();
    t.close();
    QCOMPARE(got, positions);
}

QTEST_MAIN(TestReportPasses)
#include "tst_reportpasses.moc"
