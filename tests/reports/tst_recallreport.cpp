#include "ReportFixture.h"
#include "ReportReading.h"
#include "render/ReportFont.h"
#include "reports/RecallProcedure.h"
#include "reports/ReportCommands.h"
#include "reports/ReportTexts.h"
#include "scoring/Recalculation.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QTest>

#include <limits>
#include <optional>

using namespace jt;
using render::BandKind;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

const QString kAlias = QStringLiteral("jigtally 2008");

// Sets fields of the info table's one record.
void setInfo(test::ReportFixture& f, const QVariantMap& values) {
    engine::Table& info = f.info();
    info.first();
    info.edit();
    for (auto it = values.begin(); it != values.end(); ++it)
        info.fieldByName(it.key())->setAsString(it.value().toString());
    info.post();
}

struct Dancer {
    int compNo;
    int sequence;
    double recallTotal;
    bool recalledBefore;
};

QList<QVariantMap> dancerRecords(const QList<Dancer>& dancers) {
    QList<QVariantMap> records;
    for (const Dancer& d : dancers)
        records.append({{QStringLiteral("COMP_NO"), double(d.compNo)},
                        {QStringLiteral("SEQUENCE"), double(d.sequence)},
                        {QStringLiteral("RECALLTTL"), d.recallTotal},
                        {QStringLiteral("RECALLED"), d.recalledBefore}});
    return records;
}

// Runs the command through its gates with "Preview" pressed and the input box answered.
void runRecall(test::ReportFixture& f, test::ScriptedDialogs& dialogs,
               const std::optional<QString>& answer) {
    test::ScriptedReportDialogs reportDialogs;
    reportDialogs.answerChecklist(true);
    reportDialogs.answerLaunch(true);
    dialogs.answerInput(answer);
    f.state.ReCalcFlag = false;
    reports::Print1Click(f.state);
    QVERIFY(reportDialogs.allAnswered());
}

QList<int> column(const QList<QStringList>& rows, int index) {
    QList<int> values;
    for (const QStringList& r : rows)
        values << (index < r.size() ? r[index].toInt() : -1);
    return values;
}

QStringList storedIndexNames(const QString& table) {
    engine::Table probe;
    probe.setDatabaseName(kAlias);
    probe.setTableName(table);
    probe.updateIndexDefs();
    QStringList names;
    for (const auto& def : probe.indexDefs())
        names << def.name;
    return names;
}

// The results table as every report run must leave it.
void verifyLeftClosed(test::ReportFixture& f) {
    engine::Table& t = f.results();
    QVERIFY(!t.active());
    QVERIFY(!t.exclusive());
    QVERIFY(t.indexName().isEmpty());
    QVERIFY(!storedIndexNames(QStringLiteral("u12.dbf")).contains(QStringLiteral("recall")));
}

} // namespace

class TestRecallReport final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readRecallCount_data();
    void readRecallCount();
    void workedExample_data();
    void workedExample();
    void layout_data();
    void layout();
    void realCompetition();
    void pages();
    void recallListHeldElsewhere();
};

void TestRecallReport::readRecallCount_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("count");
    const int max = std::numeric_limits<int>::max();
    const int min = std::numeric_limits<int>::min();
    QTest::newRow("plain") << QStringLiteral("5") << 5;
    QTest::newRow("leading blanks") << QStringLiteral("   5") << 5;
    QTest::newRow("leading tab") << QStringLiteral("\t7") << 7;
    QTest::newRow("digits then text") << QStringLiteral("12abc") << 12;
    QTest::newRow("stops at a blank") << QStringLiteral("5 6") << 5;
    QTest::newRow("text only") << QStringLiteral("abc") << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("default") << reports::kRecallCountDefault << 0;
    QTest::newRow("plus") << QStringLiteral("+4") << 4;
    QTest::newRow("minus") << QStringLiteral(" -3x") << -3;
    QTest::newRow("sign then blank") << QStringLiteral("- 5") << 0;
    QTest::newRow("two signs") << QStringLiteral("+-5") << 0;
    QTest::newRow("decimal") << QStringLiteral("7.9") << 7;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
    QTest::newRow("huge") << QStringLiteral("99999999999999999999") << max;
    QTest::newRow("huge negative") << QStringLiteral("-99999999999999999999") << min;
}

void TestRecallReport::readRecallCount() {
    QFETCH(QString, answer);
    QFETCH(int, count);
    QCOMPARE(reports::readRecallCount(answer), count);
}

void TestRecallReport::workedExample_data() {
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<int>("recalled"); // -1: no list, RECALLED as it was
    QTest::newRow("5") << std::optional<QString>(QStringLiteral("5")) << 5;
    QTest::newRow("5 with leading blanks") << std::optional<QString>(QStringLiteral("  5")) << 5;
    QTest::newRow("1") << std::optional<QString>(QStringLiteral("1")) << 1;
    QTest::newRow("3abc") << std::optional<QString>(QStringLiteral("3abc")) << 3;
    QTest::newRow("12abc, more than there are")
        << std::optional<QString>(QStringLiteral("12abc")) << 7;
    QTest::newRow("exactly all") << std::optional<QString>(QStringLiteral("7")) << 7;
    QTest::newRow("0") << std::optional<QString>(QStringLiteral("0")) << -1;
    QTest::newRow("the default left") << std::optional<QString>(reports::kRecallCountDefault) << -1;
    QTest::newRow("Cancel") << std::optional<QString>() << -1;
    QTest::newRow("no digits") << std::optional<QString>(QStringLiteral("five")) << -1;
    QTest::newRow("negative") << std::optional<QString>(QStringLiteral("-3")) << -1;
}

// Recall totals 300, 280, 280, 250, 250, 250, 200 entered in a mixed order.
void TestRecallReport::workedExample() {
    QFETCH(std::optional<QString>, answer);
    QFETCH(int, recalled);
    test::ReportFixture f;
    setInfo(f, {{QStringLiteral("COMPNAME"), QStringLiteral("Under 12 Girls")},
                {QStringLiteral("NUMADJS"), QStringLiteral("5")}});
    const QList<Dancer> dancers = {{201, 5, 250, true}, {202, 3, 300, false}, {203, 7, 280, true},
                                   {204, 1, 200, true}, {205, 2, 250, false}, {206, 6, 280, true},
                                   {207, 4, 250, false}};
    f.addDancers(dancerRecords(dancers));
    test::ScriptedDialogs dialogs;
    runRecall(f, dialogs, answer);

    QVERIFY(dialogs.messages().isEmpty());
    QCOMPARE(dialogs.inputPrompts(),
             QStringList{QStringLiteral("Recall List: Recall how many? (0 for no list)")});
    QCOMPARE(dialogs.previews().size(), recalled > 0 ? 2 : 1);

    // The report: every dancer in recall order (equal totals in entry order) with the
    // sports ranking.
    const QList<QStringList> rows = test::detailRows(dialogs.previews()[0]);
    const QList<QStringList> expectedRows = {
        {QStringLiteral("1"), QStringLiteral("202"), QStringLiteral("300")},
        {QStringLiteral("2"), QStringLiteral("203"), QStringLiteral("280")},
        {QStringLiteral("2"), QStringLiteral("206"), QStringLiteral("280")},
        {QStringLiteral("4"), QStringLiteral("201"), QStringLiteral("250")},
        {QStringLiteral("4"), QStringLiteral("205"), QStringLiteral("250")},
        {QStringLiteral("4"), QStringLiteral("207"), QStringLiteral("250")},
        {QStringLiteral("7"), QStringLiteral("204"), QStringLiteral("200")}};
    QCOMPARE(rows.size(), expectedRows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        // Position, number, then the grid columns (empty here) and the recall total.
        QCOMPARE(rows[i].first(), expectedRows[i][0]);
        QCOMPARE(rows[i][1], expectedRows[i][1]);
        QCOMPARE(rows[i].last(), expectedRows[i][2]);
    }
    const QList<int> recallOrder = column(expectedRows, 1);

    // POSITION and RECALLED as the file holds them.
    const QVariantList compNos =
        test::storedColumn(kAlias, QStringLiteral("u12.dbf"), QStringLiteral("COMP_NO"));
    const QVariantList positions =
        test::storedColumn(kAlias, QStringLiteral("u12.dbf"), QStringLiteral("POSITION"));
    const QVariantList recalledStored =
        test::storedColumn(kAlias, QStringLiteral("u12.dbf"), QStringLiteral("RECALLED"));
    QCOMPARE(compNos.size(), dancers.size());
    for (qsizetype i = 0; i < dancers.size(); ++i) {
        const Dancer& d = dancers[i];
        QCOMPARE(compNos[i].toInt(), d.compNo);
        const int expectedPosition = d.recallTotal == 300   ? 1
                                     : d.recallTotal == 280 ? 2
                                     : d.recallTotal == 250 ? 4
                                                            : 7;
        QCOMPARE(positions[i].toInt(), expectedPosition);
        const bool expectedRecalled =
            recalled < 0 ? d.recalledBefore : recallOrder.indexOf(d.compNo) < recalled;
        QVERIFY2(recalledStored[i].toBool() == expectedRecalled,
                 qPrintable(QStringLiteral("RECALLED of %1").arg(d.compNo)));
    }
    if (recalled == 5) {
        // The sixth in recall order has the fifth's total and is not recalled.
        QCOMPARE(recalledStored[compNos.indexOf(QVariant(205.0))].toBool(), true);
        QCOMPARE(recalledStored[compNos.indexOf(QVariant(207.0))].toBool(), false);
    }

    // The list table and the list: the recalled dancers, copied in recall order, printed
    // in dancing order.
    const QString recalTmp = f.folder.filePath(QStringLiteral("RecalTmp.dbf"));
    QCOMPARE(QFile::exists(recalTmp), recalled > 0);
    if (recalled > 0) {
        QList<int> copied;
        for (const QVariant& v :
             test::storedColumn(kAlias, QStringLiteral("RecalTmp.dbf"), QStringLiteral("COMP_NO")))
            copied << v.toInt();
        QCOMPARE(copied, recallOrder.mid(0, recalled));
        QList<Dancer> bySequence;
        for (const Dancer& d : dancers)
            if (copied.contains(d.compNo))
                bySequence << d;
        std::sort(bySequence.begin(), bySequence.end(),
                  [](const Dancer& a, const Dancer& b) { return a.sequence < b.sequence; });
        QList<QStringList> listRows;
        for (const Dancer& d : bySequence)
            listRows << QStringList{QString::number(d.compNo)};
        QCOMPARE(test::detailRows(dialogs.previews()[1]), listRows);
        QVERIFY(
            !storedIndexNames(QStringLiteral("RecalTmp.dbf")).contains(QStringLiteral("recaltmp")));
    }
    verifyLeftClosed(f);
    QVERIFY(!f.state.ReCalcFlag);
}

void TestRecallReport::layout_data() {
    QTest::addColumn<QString>("numAdjs");
    QTest::addColumn<int>("gridColumns");
    QTest::newRow("five") << QStringLiteral("5") << 5;
    QTest::newRow("three") << QStringLiteral("3") << 3;
    QTest::newRow("blank") << QString() << 5;
    QTest::newRow("other") << QStringLiteral("4") << 5;
}

void TestRecallReport::layout() {
    QFETCH(QString, numAdjs);
    QFETCH(int, gridColumns);
    test::ReportFixture f;
    setInfo(f, {{QStringLiteral("COMPNAME"), QStringLiteral("Under 12 Girls")},
                {QStringLiteral("NUMADJS"), numAdjs},
                {QStringLiteral("ADJANAME"), QStringLiteral("Mary Walsh")},
                {QStringLiteral("ADJBNAME"), QStringLiteral("Seán Ó Briain")},
                {QStringLiteral("ADJCNAME"), QStringLiteral("Ann Kelly")},
                {QStringLiteral("ADJDNAME"), QStringLiteral("Pat Doyle")},
                {QStringLiteral("ADJENAME"), QStringLiteral("Jo Lynch")}});
    f.addDancers({{{QStringLiteral("COMP_NO"), 1234.0},
                   {QStringLiteral("AGRID1"), 62.5},
                   {QStringLiteral("BGRID1"), 200.0 / 3},
                   {QStringLiteral("CGRID1"), 0.0},
                   {QStringLiteral("DGRID1"), 100.0},
                   {QStringLiteral("EGRID1"), 0.5},
                   {QStringLiteral("RECALLTTL"), 229.6667},
                   {QStringLiteral("RECALLCHAR"), QStringLiteral("T")}},
                  {{QStringLiteral("COMP_NO"), 7.0},
                   {QStringLiteral("AGRID1"), 62.5},
                   {QStringLiteral("BGRID1"), 200.0 / 3},
                   {QStringLiteral("CGRID1"), 0.0},
                   {QStringLiteral("DGRID1"), 100.0},
                   {QStringLiteral("EGRID1"), 0.5},
                   {QStringLiteral("RECALLTTL"), 229.6667},
                   {QStringLiteral("RECALLCHAR"), QStringLiteral("=")}},
                  {{QStringLiteral("COMP_NO"), 31.0}, {QStringLiteral("RECALLCHAR"), QString()}}});
    f.state.GlobalSchool = QStringLiteral("Feis Example 2026");
    test::ScriptedDialogs dialogs;
    runRecall(f, dialogs, QStringLiteral("0"));
    QCOMPARE(dialogs.previews().size(), 1);
    const render::Document& doc = dialogs.previews()[0];
    QCOMPARE(doc.orientation, render::Orientation::Portrait);
    QCOMPARE(doc.pageCount(), 1);
    const render::Page& page = doc.pages[0];

    // Title band and footer.
    const render::PlacedText* banner =
        test::textInBand(page, BandKind::Title, f.state.GlobalSchool);
    QVERIFY(banner && banner->pointSize == 12.0 && banner->bold);
    const render::PlacedText* name =
        test::textInBand(page, BandKind::Title, QStringLiteral("RECALL REPORT"));
    QVERIFY(name && name->pointSize == 14.0 && name->bold);
    QVERIFY(test::textInBand(page, BandKind::Title, QStringLiteral("Under 12 Girls")));
    QCOMPARE(page.pictures.size(), std::size_t(1));
    QCOMPARE(page.pictures[0].target, QRectF(10, 10, 12, 12)); // scaled to the square
    QVERIFY(test::textInBand(page, BandKind::PageFooter, QStringLiteral("Page 1")));
    QVERIFY(test::textInBand(page, BandKind::PageFooter, f.state.GlobalSchool));

    // Column header: the names over their grid columns, then the headings.
    QStringList headings{QStringLiteral("Tie"), QStringLiteral("Position"),
                         QStringLiteral("Dancer")};
    const QStringList names{QStringLiteral("Mary Walsh"), QStringLiteral("Seán Ó Briain"),
                            QStringLiteral("Ann Kelly"), QStringLiteral("Pat Doyle"),
                            QStringLiteral("Jo Lynch")};
    for (int i = 0; i < gridColumns; ++i)
        headings << QStringLiteral("Grid %1").arg(QLatin1Char(char('A' + i)));
    headings << QStringLiteral("Recall");
    QCOMPARE(test::firstBandTexts(page, BandKind::ColumnHeader),
             names.mid(0, gridColumns) + headings);
    for (int i = 0; i < 5; ++i) {
        const QString grid = QStringLiteral("Grid %1").arg(QLatin1Char(char('A' + i)));
        const render::PlacedText* heading = test::textInBand(page, BandKind::ColumnHeader, grid);
        const render::PlacedText* adj = test::textInBand(page, BandKind::ColumnHeader, names[i]);
        QCOMPARE(heading != nullptr, i < gridColumns);
        QCOMPARE(adj != nullptr, i < gridColumns);
        if (!heading)
            continue;
        QCOMPARE(heading->align, render::Align::Right);
        QCOMPARE(adj->align, render::Align::Right);
        QCOMPARE(adj->box.right(), heading->box.right());
        QVERIFY(adj->box.top() < heading->box.top());
    }
    QCOMPARE(test::textInBand(page, BandKind::ColumnHeader, QStringLiteral("Tie"))->align,
             render::Align::Left);

    // Rows: tie mark as stored, position by "0", number in general format, points by
    // "0.##" (a 0 prints 0), all numbers right-aligned under their headings.
    QStringList full{QStringLiteral("T"),    QStringLiteral("1"),     QStringLiteral("1234"),
                     QStringLiteral("62.5"), QStringLiteral("66.67"), QStringLiteral("0"),
                     QStringLiteral("100"),  QStringLiteral("0.5")};
    full = full.mid(0, 3 + gridColumns) << QStringLiteral("229.67");
    QStringList second = full;
    second[0] = QStringLiteral("=");
    second[2] = QStringLiteral("7");
    const QList<QStringList> rows = test::detailRows(doc);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], full);
    QCOMPARE(rows[1], second);
    // Empty points and totals print nothing.
    QCOMPARE(rows[2], (QStringList{QStringLiteral("3"), QStringLiteral("31")}));
    for (const QString& heading : headings.mid(1)) {
        const render::PlacedText* h = test::textInBand(page, BandKind::ColumnHeader, heading);
        const qsizetype col = headings.indexOf(heading);
        const render::PlacedText* cell = test::textInBand(page, BandKind::Detail, full[col]);
        QVERIFY2(cell, qPrintable(full[col]));
        QCOMPARE(cell->align, render::Align::Right);
        QCOMPARE(cell->box.right(), h->box.right());
    }
}

// Marks entered and recalculated: three adjudicators, two of the dancers tied.
void TestRecallReport::realCompetition() {
    test::ReportFixture f;
    setInfo(f, {{QStringLiteral("COMPNAME"), QStringLiteral("Under 12 Girls")},
                {QStringLiteral("NUMADJS"), QStringLiteral("3")}});
    // A, B and C's two round marks each; 105 danced but got no marks.
    const auto dancer = [](int compNo, int sequence, double a, double b, double c) {
        return QVariantMap{{QStringLiteral("COMP_NO"), double(compNo)},
                           {QStringLiteral("SEQUENCE"), double(sequence)},
                           {QStringLiteral("A1"), a},
                           {QStringLiteral("A2"), a},
                           {QStringLiteral("B1"), b},
                           {QStringLiteral("B2"), b},
                           {QStringLiteral("C1"), c},
                           {QStringLiteral("C2"), c}};
    };
    f.addDancers({dancer(102, 4, 75, 80, 80),
                  dancer(101, 2, 80, 75, 80),
                  dancer(103, 5, 70, 70, 70),
                  dancer(104, 1, 65, 65, 65),
                  {{QStringLiteral("COMP_NO"), 105.0}, {QStringLiteral("SEQUENCE"), 3.0}}});
    scoring::recalculate(f.results());
    test::ScriptedDialogs dialogs;
    runRecall(f, dialogs, QStringLiteral("1"));

    // 102 and 101 split A and B and share C's first two places (87.5 each): 262.5.
    const QList<QStringList> expected = {
        {QStringLiteral("T"), QStringLiteral("1"), QStringLiteral("102"), QStringLiteral("75"),
         QStringLiteral("100"), QStringLiteral("87.5"), QStringLiteral("262.5")},
        {QStringLiteral("="), QStringLiteral("1"), QStringLiteral("101"), QStringLiteral("100"),
         QStringLiteral("75"), QStringLiteral("87.5"), QStringLiteral("262.5")},
        {QStringLiteral("3"), QStringLiteral("103"), QStringLiteral("65"), QStringLiteral("65"),
         QStringLiteral("65"), QStringLiteral("195")},
        {QStringLiteral("4"), QStringLiteral("104"), QStringLiteral("60"), QStringLiteral("60"),
         QStringLiteral("60"), QStringLiteral("180")},
        {QStringLiteral("5"), QStringLiteral("105"), QStringLiteral("0"), QStringLiteral("0"),
         QStringLiteral("0"), QStringLiteral("0")}};
    QCOMPARE(test::detailRows(dialogs.previews()[0]), expected);
    // One recalled: the first of the tie only.
    QCOMPARE(test::detailRows(dialogs.previews()[1]), QList<QStringList>{{QStringLiteral("102")}});
    const QVariantList recalled =
        test::storedColumn(kAlias, QStringLiteral("u12.dbf"), QStringLiteral("RECALLED"));
    QCOMPARE(recalled, (QVariantList{true, false, false, false, false}));
    // The recalled dancer reads "Yes" in the calculated field the marks windows show.
    engine::Table& t = f.results();
    t.open();
    t.first();
    QCOMPARE(f.state.module().resultsRecDancer->asString(), QStringLiteral("Yes"));
    t.close();
}

void TestRecallReport::pages() {
    test::ReportFixture f;
    QList<Dancer> dancers;
    for (int i = 0; i < 120; ++i)
        dancers << Dancer{1000 + i, 120 - i, 500.0 - i, false};
    f.addDancers(dancerRecords(dancers));
    test::ScriptedDialogs dialogs;
    runRecall(f, dialogs, QStringLiteral("60"));
    QCOMPARE(dialogs.previews().size(), 2);

    // The report: 49 rows of 5 mm under the title and header, 51 on later pages.
    const render::Document& report = dialogs.previews()[0];
    QCOMPARE(report.pageCount(), 3);
    QVERIFY(report.pages[0].findText(QStringLiteral("1048")));
    QVERIFY(!report.pages[0].findText(QStringLiteral("1049")));
    QVERIFY(report.pages[1].findText(QStringLiteral("1049")));
    QVERIFY(report.pages[2].findText(QStringLiteral("1119")));
    // The list: 60 rows of 11 mm, 22 on the first page and 23 on the next, in dancing
    // order (the highest numbers danced first).
    const render::Document& list = dialogs.previews()[1];
    QCOMPARE(list.pageCount(), 3);
    const QList<QStringList> rows = test::detailRows(list);
    QCOMPARE(rows.size(), 60);
    QCOMPARE(rows.first(), QStringList{QStringLiteral("1059")});
    QCOMPARE(rows.last(), QStringList{QStringLiteral("1000")});
    QVERIFY(list.pages[0].findText(QStringLiteral("1038")));
    QVERIFY(!list.pages[0].findText(QStringLiteral("1037")));
    // The fixed banner prints whole, clear of the report's name.
    const render::PlacedText* banner = list.pages[0].findText(reports::kFixedBanner);
    const render::PlacedText* name = list.pages[0].findText(QStringLiteral("RECALL LIST"));
    QVERIFY(banner && name);
    QVERIFY(banner->box.width() >= render::textWidthMm(reports::kFixedBanner, 12, true));
    QVERIFY(banner->box.right() <=
            name->box.center().x() - render::textWidthMm(name->text, 14, true) / 2);
    for (int p = 0; p < 3; ++p) {
        const render::Page& page = list.pages[std::size_t(p)];
        QCOMPARE(test::firstBandTexts(page, BandKind::PageFooter),
                 (QStringList{reports::kWebAddress, QStringLiteral("Page %1").arg(p + 1)}));
        QCOMPARE(test::firstBandTexts(page, BandKind::ColumnHeader),
                 (QStringList{QStringLiteral("Dancer"), QStringLiteral("Speed"),
                              QStringLiteral("Set Dance")}));
        QCOMPARE(page.findText(QStringLiteral("RECALL LIST")) != nullptr, p == 0);
        QVERIFY(page.findText(QStringLiteral("Page %1").arg(p + 1)));
    }
}

// RecalTmp.dbf open elsewhere: the store's error, the run ends, the positions posted
// before stay, RECALLED is untouched and the table is left closed.
void TestRecallReport::recallListHeldElsewhere() {
    test::ReportFixture f;
    f.addDancers(dancerRecords({{1, 1, 100, true}, {2, 2, 200, false}}));
    {
        test::ScriptedDialogs dialogs;
        runRecall(f, dialogs, QStringLiteral("1"));
        QVERIFY(dialogs.messages().isEmpty());
    }
    engine::Table other;
    other.setDatabaseName(kAlias);
    other.setTableName(QStringLiteral("RecalTmp.dbf"));
    other.open();
    // Both records now rank the other way round.
    engine::Table& t = f.results();
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        t.edit();
        t.fieldByName(QStringLiteral("RECALLTTL"))
            ->setAsFloat(300 - t.fieldByName(QStringLiteral("RECALLTTL"))->asFloat());
        t.post();
    }
    t.close();

    test::ScriptedDialogs dialogs;
    runRecall(f, dialogs, QStringLiteral("1"));
    other.close();
    QCOMPARE(dialogs.messages().size(), 1);
    QCOMPARE(dialogs.messages()[0].type, platform::MessageType::Error);
    QVERIFY2(dialogs.messages()[0].text.contains(QStringLiteral("RecalTmp")),
             qPrintable(dialogs.messages()[0].text));
    QCOMPARE(dialogs.previews().size(), 1); // the report, no list
    QCOMPARE(test::storedColumn(kAlias, QStringLiteral("u12.dbf"), QStringLiteral("POSITION")),
             (QVariantList{1.0, 2.0}));
    QCOMPARE(test::storedColumn(kAlias, QStringLiteral("u12.dbf"), QStringLiteral("RECALLED")),
             (QVariantList{false, true})); // as the first run left them
    QCOMPARE(test::storedColumn(kAlias, QStringLiteral("RecalTmp.dbf"), QStringLiteral("COMP_NO")),
             QVariantList{2.0}); // the list of the first run
    verifyLeftClosed(f);
    QVERIFY(!f.state.ReCalcFlag);
}

QTEST_MAIN(TestRecallReport)
#include "tst_recallreport.moc"
