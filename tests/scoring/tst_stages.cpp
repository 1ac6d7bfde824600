#include "ScoringFixture.h"
#include "data/DataModule.h"
#include "engine/Table.h"
#include "scoring/Recalculation.h"
#include "scoring/Stages.h"
#include "support/Competition.h"

#include <QFile>
#include <QTest>

#include <cmath>

using namespace jt;

namespace {

qint64 at8(double value) {
    return std::llround(value * 1e8);
}

// The fields that the two stages write; every other field must come through untouched.
QStringList computedFields() {
    QStringList names{"RECALLTTL", "RECALLCHAR", "GRIDTOTAL", "FINALCHAR"};
    for (const char* x : {"A", "B", "C", "D", "E"})
        for (const char* suffix : {"SUBTOTAL", "GRID1", "TOTAL", "GRID2"})
            names.append(QLatin1String(x) + QLatin1String(suffix));
    return names;
}

} // namespace

class TestStages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_competition = test::Competition::closedOnU12(); }
    void cleanup() { m_competition.reset(); }

    void recallExample_data() {
        QTest::addColumn<int>("dancer");
        QTest::addColumn<QList<double>>("subtotals");
        QTest::addColumn<QList<double>>("grid1");
        QTest::addColumn<double>("recallTotal");
        QTest::addColumn<QString>("recallMark");
        QTest::addRow("P") << 0 << QList<double>{162, 159, 164} << QList<double>{100, 75, 87.5}
                           << 262.5 << "T";
        QTest::addRow("Q") << 1 << QList<double>{160, 161, 164} << QList<double>{75, 100, 87.5}
                           << 262.5 << "=";
        QTest::addRow("R") << 2 << QList<double>{158, 156, 151} << QList<double>{65, 65, 62.5}
                           << 192.5 << "";
        QTest::addRow("S") << 3 << QList<double>{142, 140, 151} << QList<double>{60, 60, 62.5}
                           << 182.5 << "";
        QTest::addRow("U without marks")
            << 4 << QList<double>{0, 0, 0} << QList<double>{0, 0, 0} << 0.0 << "";
    }
    void recallExample() {
        QFETCH(int, dancer);
        QFETCH(QList<double>, subtotals);
        QFETCH(QList<double>, grid1);
        QFETCH(double, recallTotal);
        QFETCH(QString, recallMark);
        // Set-dance marks already entered change nothing in the recall stage.
        test::appendRecords(results(), test::exampleDancers(/*withSetMarks=*/true));

        scoring::IntermediateGrid1Click(results());

        const QVariantMap r = test::readRecords(results()).at(dancer);
        const char* letters[] = {"A", "B", "C", "D", "E"};
        for (int i = 0; i < 5; ++i) {
            const QString x = QLatin1String(letters[i]);
            const double sub = i < 3 ? subtotals[i] : 0.0;
            const double points = i < 3 ? grid1[i] : 0.0;
            QVERIFY2(!r.value(x + "SUBTOTAL").isNull() && !r.value(x + "GRID1").isNull(),
                     qPrintable(x));
            QCOMPARE(r.value(x + "SUBTOTAL").toDouble(), sub);
            QCOMPARE(at8(r.value(x + "GRID1").toDouble()), at8(points));
        }
        QCOMPARE(at8(r.value("RECALLTTL").toDouble()), at8(recallTotal));
        QCOMPARE(r.value("RECALLCHAR").toString(), recallMark);
        // The final stage's fields are the final stage's business.
        QVERIFY(r.value("ATOTAL").isNull());
        QVERIFY(r.value("GRIDTOTAL").isNull());
        test::verifyLeftClosed(results());
    }

    void finalExample_data() {
        QTest::addColumn<int>("dancer");
        QTest::addColumn<QList<double>>("totals");
        QTest::addColumn<QList<double>>("grid2");
        QTest::addColumn<double>("gridTotal");
        QTest::addColumn<double>("recallTotal");
        QTest::addRow("P") << 0 << QList<double>{247, 239, 242} << QList<double>{100, 70, 75}
                           << 245.0 << 262.5;
        QTest::addRow("Q") << 1 << QList<double>{240, 245, 246} << QList<double>{65, 100, 100}
                           << 265.0 << 262.5;
        QTest::addRow("R") << 2 << QList<double>{246, 239, 231} << QList<double>{75, 70, 65}
                           << 210.0 << 192.5;
        QTest::addRow("S, no set marks")
            << 3 << QList<double>{0, 0, 0} << QList<double>{0, 0, 0} << 0.0 << 182.5;
        QTest::addRow("U") << 4 << QList<double>{0, 0, 0} << QList<double>{0, 0, 0} << 0.0 << 0.0;
    }
    void finalExample() {
        QFETCH(int, dancer);
        QFETCH(QList<double>, totals);
        QFETCH(QList<double>, grid2);
        QFETCH(double, gridTotal);
        QFETCH(double, recallTotal);
        test::appendRecords(results(), test::exampleDancers(/*withSetMarks=*/true));

        scoring::IntermediateGrid1Click(results());
        scoring::FinalGrid1Click(results());

        const QVariantMap r = test::readRecords(results()).at(dancer);
        const char* letters[] = {"A", "B", "C", "D", "E"};
        for (int i = 0; i < 5; ++i) {
            const QString x = QLatin1String(letters[i]);
            QCOMPARE(r.value(x + "TOTAL").toDouble(), i < 3 ? totals[i] : 0.0);
            QVERIFY(!r.value(x + "GRID2").isNull());
            QCOMPARE(at8(r.value(x + "GRID2").toDouble()), at8(i < 3 ? grid2[i] : 0.0));
        }
        QCOMPARE(at8(r.value("GRIDTOTAL").toDouble()), at8(gridTotal));
        QCOMPARE(r.value("FINALCHAR").toString(), QString());
        QCOMPARE(at8(r.value("RECALLTTL").toDouble()), at8(recallTotal));
        test::verifyLeftClosed(results());
    }

    // One dancer per row beside a rival whose marks are all 70, so points show who took part.
    void setMarks_data() {
        QTest::addColumn<QVariantMap>("marks");
        QTest::addColumn<double>("aTotal");
        QTest::addColumn<double>("aGrid2");
        QTest::addColumn<double>("bTotal");
        QTest::addColumn<double>("bGrid2");
        const QVariantMap rounds{{"A1", 80}, {"A2", 80}, {"B1", 80}, {"B2", 80}};
        QVariantMap m = rounds;
        m.insert("ASET", 0);
        m.insert("BSET", 90);
        QTest::addRow("set mark 0 counts as none") << m << 0.0 << 0.0 << 250.0 << 100.0;
        m = rounds;
        m.insert("ASET", 85);
        QTest::addRow("A gave a set mark, B did not") << m << 245.0 << 100.0 << 0.0 << 0.0;
        m = rounds;
        m.insert("ASET", -1);
        m.insert("BSET", 0.5);
        QTest::addRow("negative set mark is none, half a mark counts")
            << m << 0.0 << 0.0 << 160.5 << 75.0;
        QTest::addRow("no set marks at all") << rounds << 0.0 << 0.0 << 0.0 << 0.0;
    }
    void setMarks() {
        QFETCH(QVariantMap, marks);
        QFETCH(double, aTotal);
        QFETCH(double, aGrid2);
        QFETCH(double, bTotal);
        QFETCH(double, bGrid2);
        const QVariantMap rival{{"A1", 70}, {"A2", 70}, {"ASET", 70},
                                {"B1", 70}, {"B2", 70}, {"BSET", 70}};
        test::appendRecords(results(), {marks, rival});

        scoring::recalculate(results());

        const QVariantMap r = test::readRecords(results()).at(0);
        QCOMPARE(r.value("ATOTAL").toDouble(), aTotal);
        QCOMPARE(r.value("AGRID2").toDouble(), aGrid2);
        QCOMPARE(r.value("BTOTAL").toDouble(), bTotal);
        QCOMPARE(r.value("BGRID2").toDouble(), bGrid2);
        QCOMPARE(r.value("GRIDTOTAL").toDouble(), aGrid2 + bGrid2);
    }

    // Five adjudicators over three rounds: D and E and the third round are counted too.
    void allFiveAdjudicatorsAndThreeRounds() {
        test::appendRecords(
            results(), {
                           {{"D1", 80}, {"D2", 80}, {"D3", 70}, {"DSET", 80}, {"E3", 10}},
                           {{"D1", 79}, {"D2", 79}, {"D3", 75}, {"DSET", 70}, {"E1", 5}, {"E2", 4}},
                       });
        scoring::recalculate(results());
        const test::Records r = test::readRecords(results());
        QCOMPARE(r[0].value("DSUBTOTAL").toDouble(), 230.0);
        QCOMPARE(r[1].value("DSUBTOTAL").toDouble(), 233.0);
        QCOMPARE(r[0].value("DGRID1").toDouble(), 75.0);
        QCOMPARE(r[1].value("DGRID1").toDouble(), 100.0);
        QCOMPARE(r[0].value("EGRID1").toDouble(), 100.0);
        QCOMPARE(r[1].value("EGRID1").toDouble(), 75.0);
        QCOMPARE(r[0].value("RECALLTTL").toDouble(), 175.0);
        QCOMPARE(r[0].value("RECALLCHAR").toString(), QStringLiteral("T"));
        QCOMPARE(r[1].value("RECALLCHAR").toString(), QStringLiteral("="));
        QCOMPARE(r[0].value("DTOTAL").toDouble(), 310.0);
        QCOMPARE(r[1].value("DTOTAL").toDouble(), 303.0);
        QCOMPARE(r[0].value("GRIDTOTAL").toDouble(), 100.0);
        QCOMPARE(r[1].value("GRIDTOTAL").toDouble(), 75.0);
    }

    // The stages write only their own fields, leave the table closed in record order and
    // not in sole use whatever state it was in, and leave other indexes alone.
    void writesOnlyItsOwnFields() {
        test::Records records = test::exampleDancers(true);
        int n = 0;
        for (QVariantMap& r : records) {
            ++n;
            r.insert("SEQUENCE", 6 - n);
            r.insert("COMP_NO", 100 + n);
            r.insert("SCHOOL", QStringLiteral("School %1").arg(n));
            r.insert("RECALLTIE", 1.5);
            r.insert("POSITION", n);
            r.insert("FINALTIE", 2.5);
            r.insert("RECALLED", n % 2 == 1);
            r.insert("SOLOPOSN", 7);
            r.insert("SOLOCHAR", "T");
            r.insert("QUALGRID", 3);
            r.insert("QUALIFIER", "Q");
            r.insert("A3", n == 2 ? QVariant() : QVariant(0));
        }
        test::appendRecords(results(), records);
        const test::Records before = test::readRecords(results());
        results().addIndex("seqno", "SEQUENCE");
        results().setIndexName("seqno");
        results().open();
        results().moveToRow(2);

        scoring::recalculate(results());

        test::verifyLeftClosed(results());
        QCOMPARE(test::indexNames(results()), QStringList{"seqno"});
        const test::Records after = test::readRecords(results());
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < after.size(); ++i)
            for (auto it = before[i].begin(); it != before[i].end(); ++it)
                if (!computedFields().contains(it.key()))
                    QVERIFY2(after[i].value(it.key()) == it.value(),
                             qPrintable(QStringLiteral("record %1 field %2").arg(i).arg(it.key())));
    }

    void emptyTable() {
        const QString path = m_competition->folder.filePath("u12.dbf");
        const QByteArray bytes = fileBytes(path);
        scoring::recalculate(results());
        test::verifyLeftClosed(results());
        QCOMPARE(test::indexNames(results()), QStringList());
        QCOMPARE(fileBytes(path), bytes);
    }

    // Running again over unchanged marks writes the same values: the file stays the same
    // apart from the date of the last update in its header.
    void rerunWritesTheSame() {
        test::appendRecords(results(), test::exampleDancers(true));
        const QString path = m_competition->folder.filePath("u12.dbf");
        scoring::recalculate(results());
        const QByteArray first = fileBytes(path);
        scoring::recalculate(results());
        QByteArray second = fileBytes(path);
        QCOMPARE(second.size(), first.size());
        second.replace(1, 3, first.mid(1, 3));
        QVERIFY(second == first);
    }

private:
    engine::Table& results() { return m_competition->results(); }

    static QByteArray fileBytes(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }

    std::unique_ptr<test::Competition> m_competition;
};

QTEST_GUILESS_MAIN(TestStages)
#include "tst_stages.moc"
