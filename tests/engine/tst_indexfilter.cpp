// Named single-field indexes (order, ties, definitions beside the table) and filters.
#include "EngineFixture.h"
#include "engine/Filter.h"
#include "engine/IndexDefs.h"

#include <QtTest>

using namespace jt::engine;
using namespace jt::test;

namespace {

const FieldDefs kFields = {{QStringLiteral("ID"), FieldType::Numeric, 3, 0},
                           {QStringLiteral("TOTAL"), FieldType::Numeric, 10, 4},
                           {QStringLiteral("NAME"), FieldType::Character, 10, 0},
                           {QStringLiteral("RECALLED"), FieldType::Logical, 1, 0}};

// ID, TOTAL, NAME, RECALLED as texts; an empty text leaves the field empty.
void fill(const EngineFolder& folder, const std::vector<QStringList>& records) {
    auto t = folder.create(QStringLiteral("ix.dbf"), kFields);
    for (const QStringList& r : records) {
        t->append();
        for (int f = 0; f < 4; ++f)
            if (!r[f].isEmpty())
                t->fieldAt(f)->setAsString(r[f]);
        t->post();
    }
}

const std::vector<QStringList> kRecords = {
    {"1", "10", "brid", "T"},    {"2", "", "aoife", "F"}, {"3", "10", "Ciara", ""},
    {"4", "-2.5", "aoife", "T"}, {"5", "0", "", "F"},     {"6", "10.5", "Aoife", "T"},
};

} // namespace

class IndexFilterTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void indexOrder_data();
    void indexOrder();
    void definitionsBesideTable();
    void definitionsNeedClosedOrSoleUse();
    void indexErrors();
    void orderFollowsPostedKey();
    void insertPlacedByKey();
    void filters_data();
    void filters();
    void filterErrors_data();
    void filterErrors();
    void postedRecordLeavesFilteredView();
    void filterWithIndexAndBookmark();
};

void IndexFilterTest::indexOrder_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("ids");
    // Equal keys keep record order in both directions; empty numbers sort as 0.
    QTest::addRow("number ascending")
        << "TOTAL" << false << QStringList({"4", "2", "5", "1", "3", "6"});
    QTest::addRow("number descending")
        << "TOTAL" << true << QStringList({"6", "1", "3", "2", "5", "4"});
    QTest::addRow("text ascending")
        << "NAME" << false << QStringList({"5", "6", "2", "4", "1", "3"});
    QTest::addRow("text descending")
        << "NAME" << true << QStringList({"3", "1", "2", "4", "6", "5"});
    QTest::addRow("logical ascending")
        << "RECALLED" << false << QStringList({"2", "3", "5", "1", "4", "6"});
    QTest::addRow("logical descending")
        << "RECALLED" << true << QStringList({"1", "4", "6", "2", "3", "5"});
}

void IndexFilterTest::indexOrder() {
    QFETCH(QString, field);
    QFETCH(bool, descending);
    QFETCH(QStringList, ids);
    EngineFolder folder;
    fill(folder, kRecords);
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->addIndex(QStringLiteral("work"), field, descending);
    t->setIndexName(QStringLiteral("work"));
    t->open();
    QCOMPARE(column(*t, QStringLiteral("ID")), ids);
    QStringList walked;
    for (t->first(); !t->eof(); t->next())
        walked << t->fieldByName(QStringLiteral("ID"))->asString();
    QCOMPARE(walked, ids);
    t->setIndexName(QString());
    QCOMPARE(column(*t, QStringLiteral("ID")), QStringList({"1", "2", "3", "4", "5", "6"}));
}

void IndexFilterTest::definitionsBesideTable() {
    EngineFolder folder;
    fill(folder, kRecords);
    const QByteArray tableBefore = fileBytes(folder.filePath(QStringLiteral("ix.dbf")));
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->addIndex(QStringLiteral("seqno"), QStringLiteral("ID"));
    t->addIndex(QStringLiteral("byTotal"), QStringLiteral("total"), true);
    // The .dbf stays a plain dBASE file.
    QCOMPARE(fileBytes(folder.filePath(QStringLiteral("ix.dbf"))), tableBefore);
    // Another handle, as a new run of the program would, sees them.
    auto again = folder.handle(QStringLiteral("IX.DBF"));
    again->updateIndexDefs();
    QCOMPARE(again->indexDefs(),
             IndexDefList({{"seqno", "ID", false}, {"byTotal", "TOTAL", true}}));
    again->setIndexName(QStringLiteral("BYTOTAL"));
    again->open();
    QCOMPARE(again->indexName(), QStringLiteral("BYTOTAL"));
    QCOMPARE(again->fieldByName(QStringLiteral("ID"))->asInteger(), 6);
    again->close();
    t->deleteIndex(QStringLiteral("seqno"));
    t->updateIndexDefs();
    QCOMPARE(t->indexDefs(), IndexDefList({{"byTotal", "TOTAL", true}}));
    t->deleteTable();
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("ix.dbf"))));
    QVERIFY(!QFile::exists(IndexStore::pathFor(folder.filePath(QStringLiteral("ix.dbf")))));
    // A new table of the same name starts without them.
    fill(folder, kRecords);
    t->updateIndexDefs();
    QVERIFY(t->indexDefs().empty());
}

void IndexFilterTest::definitionsNeedClosedOrSoleUse() {
    EngineFolder folder;
    fill(folder, kRecords);
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->open();
    QVERIFY_THROWS_EXCEPTION(EngineError, t->addIndex(QStringLiteral("a"), QStringLiteral("ID")));
    t->close();
    t->setExclusive(true);
    t->open();
    t->addIndex(QStringLiteral("work"), QStringLiteral("TOTAL"));
    t->setIndexName(QStringLiteral("work"));
    QCOMPARE(t->fieldByName(QStringLiteral("ID"))->asInteger(),
             1); // the cursor stays on its record
    t->first();
    QCOMPARE(t->fieldByName(QStringLiteral("ID"))->asInteger(), 4);
    // Deleting the index in use returns the table to record order.
    t->deleteIndex(QStringLiteral("work"));
    QCOMPARE(t->indexName(), QString());
    QCOMPARE(column(*t, QStringLiteral("ID")).first(), QStringLiteral("1"));
    QVERIFY(t->indexDefs().empty());
}

void IndexFilterTest::indexErrors() {
    EngineFolder folder;
    fill(folder, kRecords);
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->addIndex(QStringLiteral("seqno"), QStringLiteral("ID"));
    auto expect = [](auto&& call, EngineError::Kind kind, const char* text) {
        try {
            call();
            QFAIL("accepted");
        } catch (const EngineError& e) {
            QCOMPARE(e.kind(), kind);
            QVERIFY2(e.message().contains(QLatin1String(text)), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QLatin1String("ix.dbf")), qPrintable(e.message()));
        }
    };
    expect([&] { t->addIndex(QStringLiteral("SEQNO"), QStringLiteral("TOTAL")); },
           EngineError::Kind::Engine, "Index already exists: SEQNO");
    expect([&] { t->addIndex(QStringLiteral("x"), QStringLiteral("NOPE")); },
           EngineError::Kind::NotFound, "Field 'NOPE' not found");
    expect([&] { t->addIndex(QStringLiteral("#x"), QStringLiteral("ID")); },
           EngineError::Kind::Engine, "Invalid index name");
    expect([&] { t->addIndex(QStringLiteral(" x"), QStringLiteral("ID")); },
           EngineError::Kind::Engine, "Invalid index name");
    expect([&] { t->deleteIndex(QStringLiteral("nope")); }, EngineError::Kind::NotFound,
           "Index does not exist: nope");
    t->setIndexName(QStringLiteral("nope"));
    expect([&] { t->open(); }, EngineError::Kind::NotFound, "Index does not exist: nope");
    QVERIFY(!t->active());
    t->setIndexName(QString());
    t->open();
    expect([&] { t->setIndexName(QStringLiteral("nope")); }, EngineError::Kind::NotFound,
           "Index does not exist");
    QCOMPARE(t->rowCount(), 6);
}

void IndexFilterTest::orderFollowsPostedKey() {
    EngineFolder folder;
    fill(folder, kRecords);
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->addIndex(QStringLiteral("work"), QStringLiteral("TOTAL"));
    t->setIndexName(QStringLiteral("work"));
    t->open();
    t->first(); // ID 4, -2.5
    t->edit();
    t->fieldByName(QStringLiteral("TOTAL"))
        ->setAsFloat(10); // ties with 1 and 3, after them by record order
    t->post();
    QCOMPARE(column(*t, QStringLiteral("ID")), QStringList({"2", "5", "1", "3", "4", "6"}));
    QCOMPARE(t->fieldByName(QStringLiteral("ID"))->asInteger(), 4); // still on the posted record
    QCOMPARE(t->currentRow(), 4);
    t->edit();
    t->fieldByName(QStringLiteral("NAME"))
        ->setAsString(QStringLiteral("x")); // key unchanged: row unchanged
    t->post();
    QCOMPARE(t->currentRow(), 4);
}

void IndexFilterTest::insertPlacedByKey() {
    EngineFolder folder;
    fill(folder, kRecords);
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->addIndex(QStringLiteral("work"), QStringLiteral("TOTAL"), true);
    t->setIndexName(QStringLiteral("work"));
    t->open();
    t->append();
    t->fieldByName(QStringLiteral("ID"))->setAsInteger(7);
    t->fieldByName(QStringLiteral("TOTAL"))->setAsFloat(5);
    t->post();
    QCOMPARE(column(*t, QStringLiteral("ID")), QStringList({"6", "1", "3", "7", "2", "5", "4"}));
    QCOMPARE(t->currentRow(), 3);
}

void IndexFilterTest::filters_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QStringList>("ids");
    QTest::addRow("total not zero") << "GRIDTOTAL <> 0" << QStringList({"1", "3", "4", "6"});
    QTest::addRow("total not 0.00") << "GRIDTOTAL <> 0.00" << QStringList({"1", "3", "4", "6"});
    QTest::addRow("recalled") << "RECALLED" << QStringList({"1", "4", "6"});
    QTest::addRow("empty") << "" << QStringList({"1", "2", "3", "4", "5", "6"});
    QTest::addRow("blank") << "   " << QStringList({"1", "2", "3", "4", "5", "6"});
    QTest::addRow("not recalled") << "NOT RECALLED" << QStringList({"2", "3", "5"});
    QTest::addRow("and") << "RECALLED AND GRIDTOTAL > 0" << QStringList({"1", "6"});
    QTest::addRow("or") << "GRIDTOTAL < 0 OR NAME = 'Ciara'" << QStringList({"3", "4"});
    QTest::addRow("parentheses") << "NOT (RECALLED OR GRIDTOTAL = 0)" << QStringList({"3"});
    QTest::addRow("and binds tighter") << "ID = 2 OR ID = 3 AND RECALLED" << QStringList({"2"});
    QTest::addRow("dBASE words") << "RECALLED .AND. .NOT. ID >= 4" << QStringList({"1"});
    QTest::addRow("logical constant") << "RECALLED = .F." << QStringList({"2", "3", "5"});
    QTest::addRow("text is exact and case sensitive")
        << "NAME = \"aoife\"" << QStringList({"2", "4"});
    QTest::addRow("trailing blanks ignored") << "NAME = 'aoife  '" << QStringList({"2", "4"});
    QTest::addRow("empty text") << "NAME = ''" << QStringList({"5"});
    QTest::addRow("negative constant") << "GRIDTOTAL = -2.5" << QStringList({"4"});
    QTest::addRow("lower case names")
        << "gridtotal <> 0 and recalled" << QStringList({"1", "4", "6"});
}

void IndexFilterTest::filters() {
    QFETCH(QString, expression);
    QFETCH(QStringList, ids);
    EngineFolder folder;
    {
        // The results table calls its total GRIDTOTAL.
        FieldDefs fields = kFields;
        fields[1].name = QStringLiteral("GRIDTOTAL");
        auto t = folder.create(QStringLiteral("ix.dbf"), fields);
        for (const QStringList& r : kRecords) {
            t->append();
            for (int f = 0; f < 4; ++f)
                if (!r[f].isEmpty())
                    t->fieldAt(f)->setAsString(r[f]);
            t->post();
        }
    }
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->setFilter(expression);
    t->setFiltered(true);
    t->open();
    QCOMPARE(column(*t, QStringLiteral("ID")), ids);
    t->setFiltered(false);
    QCOMPARE(t->rowCount(), 6);
}

void IndexFilterTest::filterErrors_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("why");
    QTest::addRow("unknown field") << "NOPE <> 0"
                                   << "there is no field NOPE";
    QTest::addRow("number alone") << "TOTAL"
                                  << "field TOTAL is not a logical field";
    QTest::addRow("kinds differ") << "TOTAL = 'x'"
                                  << "different kinds";
    QTest::addRow("unterminated") << "NAME = 'x"
                                  << "unterminated text";
    QTest::addRow("missing parenthesis") << "(RECALLED"
                                         << "missing ')'";
    QTest::addRow("ends early") << "TOTAL <>"
                                << "it ends too early";
    QTest::addRow("stray") << "RECALLED RECALLED"
                           << "unexpected 'RECALLED'";
    QTest::addRow("odd character") << "TOTAL <> 0 ; "
                                   << "unexpected ';'";
    QTest::addRow("bad number") << "TOTAL <> 1.2.3"
                                << "'1.2.3' is not a number";
    QTest::addRow("group compared") << "(RECALLED AND RECALLED) = .T."
                                    << "only fields and constants can be compared";
    QTest::addRow("constant alone") << "5"
                                    << "a constant alone is not a condition";
    QTest::addRow("too deep") << QString(500, QLatin1Char('(')) + QStringLiteral("RECALLED") +
                                     QString(500, QLatin1Char(')'))
                              << "nested too deeply";
}

void IndexFilterTest::filterErrors() {
    QFETCH(QString, expression);
    QFETCH(QString, why);
    EngineFolder folder;
    fill(folder, kRecords);
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->open();
    t->setFilter(expression);
    try {
        t->setFiltered(true);
        QFAIL("the filter was accepted");
    } catch (const EngineError& e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Filter expression '")),
                 qPrintable(e.message()));
        QVERIFY2(e.message().contains(why), qPrintable(e.message()));
    }
    QVERIFY(!t->filtered());
    QCOMPARE(t->rowCount(), 6);
}

void IndexFilterTest::postedRecordLeavesFilteredView() {
    EngineFolder folder;
    fill(folder, kRecords);
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->setFilter(QStringLiteral("RECALLED"));
    t->setFiltered(true);
    t->open();
    t->moveToRow(1); // ID 4
    t->edit();
    t->fieldByName(QStringLiteral("RECALLED"))->setAsBoolean(false);
    t->post();
    QCOMPARE(column(*t, QStringLiteral("ID")), QStringList({"1", "6"}));
    QCOMPARE(t->fieldByName(QStringLiteral("ID"))->asInteger(), 6); // on the record that followed
    t->edit();
    t->fieldByName(QStringLiteral("RECALLED"))->setAsBoolean(false);
    t->post();
    QCOMPARE(t->fieldByName(QStringLiteral("ID"))->asInteger(), 1);
    t->edit();
    t->fieldByName(QStringLiteral("RECALLED"))->setAsBoolean(false);
    t->post();
    QVERIFY(t->eof());
    QVERIFY(t->isEmpty());
    QVERIFY(t->fieldByName(QStringLiteral("ID"))->isNull());
    // A new record that does not match is posted but not shown.
    t->append();
    t->fieldByName(QStringLiteral("ID"))->setAsInteger(9);
    t->post();
    QVERIFY(t->isEmpty());
    t->setFiltered(false);
    QCOMPARE(t->rowCount(), 7);
}

void IndexFilterTest::filterWithIndexAndBookmark() {
    EngineFolder folder;
    fill(folder, kRecords);
    auto t = folder.handle(QStringLiteral("ix.dbf"));
    t->addIndex(QStringLiteral("byName"), QStringLiteral("NAME"));
    t->open();
    t->setFilter(QStringLiteral("GRIDTOTAL <> 0"));
    t->setFilter(QStringLiteral("TOTAL <> 0"));
    t->setFiltered(true);
    t->setIndexName(QStringLiteral("byName"));
    QCOMPARE(column(*t, QStringLiteral("ID")), QStringList({"6", "4", "1", "3"}));
    t->moveToRow(2);
    const auto mark = t->bookmark();
    t->setIndexName(QString());
    QCOMPARE(t->fieldByName(QStringLiteral("ID"))->asInteger(), 1);
    QCOMPARE(t->bookmark(), mark);
}

QTEST_GUILESS_MAIN(IndexFilterTest)
#include "tst_indexfilter.moc"
