// The plain code under the marks windows: stored numbers, the choices they give, column
// totals and the display name.
#include "MarksFixture.h"
#include "marks/ColumnTotals.h"
#include "marks/DancerOrder.h"
#include "marks/MarkChoices.h"

using namespace jt;

class TestMarksCore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void storedNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("adjudicators"); // 0: not chosen
        QTest::addColumn<int>("rounds");
        QTest::addRow("three") << "3" << 3 << 2;
        QTest::addRow("five / four") << "5" << 5 << 0;
        QTest::addRow("four") << "4" << 0 << 3;
        QTest::addRow("blank") << " " << 0 << 0;
        QTest::addRow("empty") << "" << 0 << 0;
        QTest::addRow("other") << "x" << 0 << 0;
    }
    void storedNumbers() {
        QFETCH(QString, text);
        QFETCH(int, adjudicators);
        QFETCH(int, rounds);
        QCOMPARE(marks::storedAdjudicators(text).value_or(0), adjudicators);
        QCOMPARE(marks::storedRounds(text).value_or(0), rounds);
    }

    void choices_data() {
        QTest::addColumn<int>("rounds");
        QTest::addColumn<int>("adjItem");
        QTest::addColumn<int>("roundItem");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("recalledOnly");
        QTest::addRow("A 1") << 2 << 0 << 0 << "A1"
                             << "ADJANAME"
                             << "RD1TITLE" << false;
        QTest::addRow("B 2") << 2 << 1 << 1 << "B2"
                             << "ADJBNAME"
                             << "RD2TITLE" << false;
        QTest::addRow("set third of two rounds") << 2 << 2 << 2 << "CSET"
                                                 << "ADJCNAME"
                                                 << "RD4TITLE" << true;
        QTest::addRow("3 of three rounds") << 3 << 3 << 2 << "D3"
                                           << "ADJDNAME"
                                           << "RD3TITLE" << false;
        QTest::addRow("set fourth of three") << 3 << 4 << 3 << "ESET"
                                             << "ADJENAME"
                                             << "RD4TITLE" << true;
        QTest::addRow("no fourth item of two rounds") << 2 << 0 << 3 << ""
                                                      << ""
                                                      << "" << false;
        QTest::addRow("no item") << 2 << -1 << 0 << ""
                                 << ""
                                 << "" << false;
    }
    void choices() {
        QFETCH(int, rounds);
        QFETCH(int, adjItem);
        QFETCH(int, roundItem);
        QFETCH(QString, field);
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(bool, recalledOnly);
        const marks::MarkChoice c = marks::markChoice(adjItem, roundItem, rounds);
        QCOMPARE(c.field, field);
        QCOMPARE(c.nameField, name);
        QCOMPARE(c.titleField, title);
        QCOMPARE(c.recalledOnly, recalledOnly);
        QCOMPARE(c.valid(), !field.isEmpty());
        if (c.valid())
            QVERIFY(marks::isMarkField(c.field));
    }

    void items() {
        QCOMPARE(marks::adjudicatorItems(3), (QStringList{"A", "B", "C"}));
        QCOMPARE(marks::adjudicatorItems(5), (QStringList{"A", "B", "C", "D", "E"}));
        QCOMPARE(marks::roundItems(2), (QStringList{"1", "2", "Set"}));
        QCOMPARE(marks::roundItems(3), (QStringList{"1", "2", "3", "Set"}));
        QCOMPARE(marks::markFields().size(), 20);
        QCOMPARE(marks::markFields().mid(0, 5), (QStringList{"A1", "A2", "A3", "ASET", "B1"}));
        QVERIFY(!marks::isMarkField(QStringLiteral("ASUBTOTAL")));
        QVERIFY(!marks::isMarkField(QStringLiteral("COMP_NO")));
    }

    void totals_data() {
        QTest::addColumn<QList<QVariant>>("marks"); // null: blank
        QTest::addColumn<bool>("recalledOnly");
        QTest::addColumn<QString>("sum");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("blanks");
        const QVariant blank;
        QTest::addRow("tenths add up exactly")
            << QList<QVariant>{0.1, 0.2, blank, 0.0} << false << "0.3" << 3 << 1;
        QTest::addRow("four places")
            << QList<QVariant>{72.1234, 10.0001} << false << "82.1235" << 2 << 0;
        QTest::addRow("negative") << QList<QVariant>{-2.5, 1.0} << false << "-1.5" << 2 << 0;
        QTest::addRow("all blank") << QList<QVariant>{blank, blank} << false << "0" << 0 << 2;
        // Dancers 0 and 2 are recalled: the filter counts only them.
        QTest::addRow("filtered") << QList<QVariant>{10.0, 20.0, blank, 40.0} << true << "10" << 1
                                  << 1;
    }
    void totals() {
        QFETCH(QList<QVariant>, marks);
        QFETCH(bool, recalledOnly);
        QFETCH(QString, sum);
        QFETCH(int, count);
        QFETCH(int, blanks);
        test::MarksCompetition comp(int(marks.size()), "3", "3", {0, 2});
        engine::Table& t = *comp.results;
        t.open();
        for (int i = 0; i < marks.size(); ++i) {
            t.moveToRow(i);
            t.edit();
            comp.module->resultsB2->setValue(marks[i]);
            t.post();
        }
        if (recalledOnly) {
            t.setFilter(QStringLiteral("RECALLED"));
            t.setFiltered(true);
        }
        t.moveToRow(0);
        const marks::ColumnTotals totals = marks::columnTotals(t, QStringLiteral("b2"));
        QCOMPARE(totals.field, QStringLiteral("B2"));
        QCOMPARE(totals.sumText(), sum);
        QCOMPARE(totals.marks, count);
        QCOMPARE(totals.blanks, blanks);
        QCOMPARE(t.currentRow(), 0); // the cursor did not move
    }

    void displayName_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("shown");
        QTest::addRow("plain") << "u12.dbf"
                               << "U12";
        QTest::addRow("mixed case") << "U12Girls.DBF"
                                    << "U12GIRLS";
        QTest::addRow("with folder") << "/data/comp/senior ladies.dbf"
                                     << "SENIOR LADIES";
        QTest::addRow("only the last extension") << "u12.final.dbf"
                                                 << "U12.FINAL";
        QTest::addRow("accents kept") << "róisín.dbf"
                                      << "RóISíN";
    }
    void displayName() {
        QFETCH(QString, table);
        QFETCH(QString, shown);
        QCOMPARE(marks::competitionDisplayName(table), shown);
    }
};

QTEST_MAIN(TestMarksCore)
#include "tst_markscore.moc"
