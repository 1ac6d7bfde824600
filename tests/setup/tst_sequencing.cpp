// Sequence numbers: double-click sequencing, Auto Seq and Clear Seq on a results table,
// and what a failed save half-way leaves.
#include "SetupFixture.h"
#include "engine/DbfFile.h"
#include "engine/EngineError.h"
#include "setup/Sequencing.h"

#include <QTest>

using namespace jt;

namespace {
// A blank sequence number in the tables below.
constexpr double kBlank = -1000;

QList<double> sequenceNumbers(engine::Table& t, engine::Field& seq) {
    QList<double> numbers;
    for (int row = 0; row < t.rowCount(); ++row) {
        const QVariant v = t.valueAt(row, seq.fieldNo());
        numbers << (v.isNull() ? kBlank : v.toDouble());
    }
    return numbers;
}
} // namespace

class TestSequencing : public QObject {
    Q_OBJECT

    std::unique_ptr<test::SetupFixture> m_fx;

    engine::Table& results() { return *m_fx->dm().results; }
    engine::Field& seq() { return *m_fx->dm().resultsSEQUENCE; }
    void addDancers(const QList<double>& numbers) {
        results().open();
        for (int i = 0; i < numbers.size(); ++i) {
            results().append();
            m_fx->dm().resultsCOMP_NO->setAsInteger(101 + i);
            if (numbers[i] != kBlank)
                seq().setAsFloat(numbers[i]);
            results().post();
        }
        results().first();
        m_fx->state.ReCalcFlag = false;
    }
    QList<double> stored() {
        QList<double> numbers;
        for (int i = 0; i < m_fx->storedCount(); ++i) {
            const QVariant v = m_fx->stored(i, QStringLiteral("SEQUENCE"));
            numbers << (v.isNull() ? kBlank : v.toDouble());
        }
        return numbers;
    }

private Q_SLOTS:
    void init() { m_fx = std::make_unique<test::SetupFixture>(); }
    void cleanup() {
        engine::DbfFile::setIoObserver({});
        m_fx.reset();
    }

    void doubleClicks_data() {
        QTest::addColumn<QList<double>>("before");
        QTest::addColumn<QList<int>>("clicks"); // rows double-clicked, one after another
        QTest::addColumn<QList<double>>("after");
        const double B = kBlank;
        QTest::newRow("five dancers in click order")
            << QList<double>{B, B, B, B, B, B} << QList<int>{0, 3, 1, 4, 2}
            << QList<double>{1, 3, 5, 2, 4, B};
        QTest::newRow("the third again loses it, the next gets 6 not 3")
            << QList<double>{B, B, B, B, B, B} << QList<int>{0, 1, 2, 3, 4, 2, 5}
            << QList<double>{1, 2, B, 4, 5, 6};
        QTest::newRow("numbers are taken back from the highest down")
            << QList<double>{1, 2, 3} << QList<int>{2, 1, 1} << QList<double>{1, 2, B};
        QTest::newRow("0 gets the highest plus 1")
            << QList<double>{0, 3, B} << QList<int>{0} << QList<double>{4, 3, B};
        QTest::newRow("a negative number gets the highest plus 1")
            << QList<double>{-2, 1} << QList<int>{0} << QList<double>{2, 1};
        QTest::newRow("all negative: the first gets 1")
            << QList<double>{-5, -1} << QList<int>{1} << QList<double>{-5, 1};
        QTest::newRow("gaps are not closed")
            << QList<double>{1, B, 5} << QList<int>{1} << QList<double>{1, 6, 5};
        QTest::newRow("typed numbers count as the others")
            << QList<double>{B, 40, B} << QList<int>{2, 0} << QList<double>{42, 40, 41};
    }
    void doubleClicks() {
        QFETCH(QList<double>, before);
        QFETCH(QList<int>, clicks);
        QFETCH(QList<double>, after);
        addDancers(before);
        for (int row : clicks) {
            results().moveToRow(row);
            setup::toggleSequence(results(), seq());
            QCOMPARE(results().currentRow(), row);
        }
        QCOMPARE(stored(), after);
        QVERIFY(m_fx->state.ReCalcFlag);
        QVERIFY(!results().controlsDisabled());
    }

    void autoSequence_data() {
        QTest::addColumn<QList<double>>("before");
        const double B = kBlank;
        QTest::newRow("none sequenced") << QList<double>{B, B, B};
        QTest::newRow("some sequenced, renumbered all") << QList<double>{5, B, 2, 7, 0};
        QTest::newRow("one dancer") << QList<double>{9};
    }
    void autoSequence() {
        QFETCH(QList<double>, before);
        addDancers(before);
        setup::autoSequence(results(), seq());
        QList<double> expected;
        for (int i = 0; i < before.size(); ++i)
            expected << i + 1;
        QCOMPARE(stored(), expected);
        QVERIFY(m_fx->state.ReCalcFlag);
    }

    void sequencingAnEmptyCompetitionChangesNothing() {
        addDancers({});
        setup::autoSequence(results(), seq());
        setup::clearSequence(results(), seq());
        QCOMPARE(m_fx->storedCount(), 0);
        QVERIFY(!m_fx->state.ReCalcFlag);
        QCOMPARE(setup::highestSequence(results(), seq()), 0.0);
    }

    void clearSequence() {
        addDancers({3, kBlank, 1, -4});
        setup::clearSequence(results(), seq());
        QCOMPARE(stored(), (QList<double>{kBlank, kBlank, kBlank, kBlank}));
        QCOMPARE(sequenceNumbers(results(), seq()), stored());
    }

    // A save that fails half-way: the rows saved before stay, the display is unfrozen.
    void aFailedSaveStopsAndUnfreezes_data() {
        QTest::addColumn<bool>("clearing");
        QTest::newRow("auto seq") << false;
        QTest::newRow("clear seq") << true;
    }
    void aFailedSaveStopsAndUnfreezes() {
        QFETCH(bool, clearing);
        addDancers({7, 8, 9, 10});
        int writes = 0;
        engine::DbfFile::setIoObserver([&](const engine::IoEvent& e) {
            // Each post writes its journal and then the table; the third post fails.
            if (e.kind == engine::IoEvent::Kind::Write && e.path.endsWith(QLatin1String(".dbf")))
                if (++writes == 3)
                    return ENOSPC;
            return 0;
        });
        bool threw = false;
        try {
            if (clearing)
                setup::clearSequence(results(), seq());
            else
                setup::autoSequence(results(), seq());
        } catch (const engine::EngineError&) {
            threw = true;
        }
        engine::DbfFile::setIoObserver({});
        QVERIFY(threw);
        QVERIFY(!results().controlsDisabled());
        const QList<double> want =
            clearing ? QList<double>{kBlank, kBlank, 9, 10} : QList<double>{1, 2, 9, 10};
        QCOMPARE(stored(), want);
    }
};

QTEST_GUILESS_MAIN(TestSequencing)
#include "tst_sequencing.moc"
