#include "ScoringFixture.h"
#include "data/DataModule.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "scoring/GridPasses.h"
#include "support/Competition.h"

#include <QTest>

#include <cmath>

using namespace jt;

namespace {

// Irish points for places 1 to 51, as the scoring rules list them.
const QList<double> kPlacePoints{100, 75, 65, 60, 56, 53, 50, 47, 45, 43, 41, 39, 38,
                                 37,  36, 35, 34, 33, 32, 31, 30, 29, 28, 27, 26, 25,
                                 24,  23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12,
                                 11,  10, 9,  8,  7,  6,  5,  4,  3,  2,  1,  0};

// n different keys, highest first.
QVariantList distinctKeys(int n, double top = 500) {
    QVariantList keys;
    for (int i = 0; i < n; ++i)
        keys.append(top - i);
    return keys;
}

// The points fields keep eight decimals.
qint64 at8(double value) {
    return std::llround(value * 1e8);
}

} // namespace

class TestGridPasses : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_competition = test::Competition::closedOnU12(); }
    void cleanup() { m_competition.reset(); }

    void rankGrid_data() {
        QTest::addColumn<QString>("keyField");
        QTest::addColumn<QVariantList>("keys");
        QTest::addColumn<QList<double>>("points");

        const QString sub = QStringLiteral("ASUBTOTAL");
        const QVariant empty;
        QTest::addRow("tie on places 2 and 3, zero and empty key")
            << sub << QVariantList{240, 235, 235, 228, 0, empty}
            << QList<double>{100, 70, 70, 60, 0, 0};
        QTest::addRow("same keys out of record order")
            << sub << QVariantList{228, empty, 235, 240, 0, 235}
            << QList<double>{60, 0, 70, 100, 0, 70};
        QTest::addRow("three-way tie shares 200/3 as a 32-bit float")
            << sub << QVariantList{250, 245, 245, 245, 230}
            << QList<double>{100, 66.66666412353516, 66.66666412353516, 66.66666412353516, 56};

        QVariantList keys = distinctKeys(10);
        keys << 300 << 300;
        QList<double> points = kPlacePoints.mid(0, 10);
        points << 40 << 40;
        QTest::addRow("tie on places 11 and 12") << sub << keys << points;

        QTest::addRow("52 different keys")
            << sub << distinctKeys(52) << (QList<double>(kPlacePoints) << 0);

        keys = distinctKeys(48);
        keys << 1 << 1 << 1 << 1;
        points = kPlacePoints.mid(0, 48);
        points << 0.75 << 0.75 << 0.75 << 0.75;
        QTest::addRow("48 and four tied on places 49 to 52") << sub << keys << points;

        keys = distinctKeys(49);
        keys << 1 << 1;
        points = kPlacePoints.mid(0, 49);
        points << 0.5 << 0.5;
        QTest::addRow("tie on places 50 and 51") << sub << keys << points;

        keys = distinctKeys(49);
        keys << 1 << 1 << 1;
        points = kPlacePoints.mid(0, 49);
        points << 0.3333333432674408 << 0.3333333432674408 << 0.3333333432674408;
        QTest::addRow("places after 51 count in the group but add nothing")
            << sub << keys << points;

        QTest::addRow("negative keys get nothing")
            << sub << QVariantList{-5, 10, -5, empty} << QList<double>{0, 100, 0, 0};
        QTest::addRow("every key zero or empty")
            << sub << QVariantList{0, empty, 0} << QList<double>{0, 0, 0};

        // RECALLTTL keeps eight decimals, so these keys reach the pass as written.
        QTest::addRow("keys equal at four decimals share")
            << QStringLiteral("RECALLTTL") << QVariantList{230.5, 230.50004, 200}
            << QList<double>{87.5, 87.5, 65};
        QTest::addRow("keys differing at the fourth decimal do not")
            << QStringLiteral("RECALLTTL") << QVariantList{230.5, 230.5001, 200}
            << QList<double>{75, 100, 65};
    }
    void rankGrid() {
        QFETCH(QString, keyField);
        QFETCH(QVariantList, keys);
        QFETCH(QList<double>, points);
        test::Records records;
        for (const QVariant& key : keys)
            records.append(key.isNull() ? QVariantMap{} : QVariantMap{{keyField, key}});
        // Stale values must be overwritten, zeros included.
        for (QVariantMap& record : records)
            record.insert(QStringLiteral("AGRID1"), 999);
        test::appendRecords(results(), records);

        scoring::RankGrid(results(), keyField, QStringLiteral("AGRID1"), QStringLiteral("adjasub"));

        const QVariantList written = test::readColumn(results(), QStringLiteral("AGRID1"));
        QCOMPARE(written.size(), points.size());
        for (int i = 0; i < points.size(); ++i) {
            QVERIFY2(!written[i].isNull(), qPrintable(QStringLiteral("record %1 empty").arg(i)));
            QCOMPARE(at8(written[i].toDouble()), at8(points[i]));
        }
        test::verifyLeftClosed(results());
    }

    void markTies_data() {
        QTest::addColumn<QVariantList>("totals");
        QTest::addColumn<QStringList>("marks");
        const QVariant empty;
        QTest::addRow("worked example")
            << QVariantList{300, 250.5, 250.5, 200, 183.33, 183.33, 0, 0}
            << QStringList{" ", "T", "=", " ", "T", "=", " ", " "};
        QTest::addRow("three equal") << QVariantList{150, 150, 150} << QStringList{"T", "=", "="};
        QTest::addRow("equal zeros and negatives are not marked")
            << QVariantList{0, empty, 0, -5, -5} << QStringList{" ", " ", " ", " ", " "};
        QTest::addRow("first in record order gets T")
            << QVariantList{10, 20, 10} << QStringList{"T", " ", "="};
        QTest::addRow("equal at four decimals")
            << QVariantList{199.99999236, 200} << QStringList{"=", "T"};
        QTest::addRow("different at the fourth decimal")
            << QVariantList{200.0001, 200} << QStringList{" ", " "};
        QTest::addRow("no dancers") << QVariantList{} << QStringList{};
    }
    void markTies() {
        QFETCH(QVariantList, totals);
        QFETCH(QStringList, marks);
        test::Records records;
        for (const QVariant& total : totals) {
            QVariantMap record{{QStringLiteral("RECALLCHAR"), QStringLiteral("T")}};
            if (!total.isNull())
                record.insert(QStringLiteral("RECALLTTL"), total);
            records.append(record);
        }
        test::appendRecords(results(), records);

        scoring::MarkTies(results(), QStringLiteral("RECALLTTL"), QStringLiteral("RECALLCHAR"));

        QStringList written;
        for (const QVariant& mark : test::readColumn(results(), QStringLiteral("RECALLCHAR")))
            written.append(mark.toString().isEmpty() ? QStringLiteral(" ") : mark.toString());
        QCOMPARE(written, marks);
        test::verifyLeftClosed(results());
    }

    void emptyTableRanks() {
        scoring::RankGrid(results(), QStringLiteral("ASUBTOTAL"), QStringLiteral("AGRID1"),
                          QStringLiteral("adjasub"));
        QCOMPARE(test::readRecords(results()).size(), 0);
        test::verifyLeftClosed(results());
    }

    // The clean-up of a failed pass deletes the working index even when creating it was
    // what failed, and the first error is the one reported.
    void failedPassCleansUp_data() {
        QTest::addColumn<QString>("keyField");
        QTest::addColumn<bool>("staleIndex");
        QTest::addColumn<QString>("error");
        QTest::addRow("stale index of an earlier run")
            << QStringLiteral("ASUBTOTAL") << true
            << QStringLiteral("Index already exists: adjasub");
        QTest::addRow("no such key field") << QStringLiteral("XSUBTOTAL") << false
                                           << QStringLiteral("Field 'XSUBTOTAL' not found");
    }
    void failedPassCleansUp() {
        QFETCH(QString, keyField);
        QFETCH(bool, staleIndex);
        QFETCH(QString, error);
        test::appendRecords(results(), {{{"ASUBTOTAL", 10}}, {{"ASUBTOTAL", 20}}});
        if (staleIndex)
            results().addIndex(QStringLiteral("adjasub"), QStringLiteral("ASUBTOTAL"), true);
        results().addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));

        try {
            scoring::RankGrid(results(), keyField, QStringLiteral("AGRID1"),
                              QStringLiteral("adjasub"));
            QFAIL("the pass did not fail");
        } catch (const engine::EngineError& e) {
            QVERIFY2(e.message().contains(error), qPrintable(e.message()));
        }
        test::verifyLeftClosed(results());
        QCOMPARE(test::indexNames(results()), QStringList{QStringLiteral("seqno")});

        // The next run starts from a clean table.
        scoring::RankGrid(results(), QStringLiteral("ASUBTOTAL"), QStringLiteral("AGRID1"),
                          QStringLiteral("adjasub"));
        QCOMPARE(test::readColumn(results(), QStringLiteral("AGRID1")),
                 (QVariantList{75.0, 100.0}));
        QCOMPARE(test::indexNames(results()), QStringList{QStringLiteral("seqno")});
    }

private:
    engine::Table& results() { return m_competition->results(); }

    std::unique_ptr<test::Competition> m_competition;
};

QTEST_GUILESS_MAIN(TestGridPasses)
#include "tst_gridpasses.moc"
