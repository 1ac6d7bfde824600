#include "ReportFixture.h"
#include "ReportReading.h"
#include "render/ReportFont.h"
#include "reports/FinalProcedure.h"
#include "reports/FinalReportBase.h"
#include "reports/ReportCommands.h"
#include "reports/ReportTexts.h"
#include "scoring/Recalculation.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace jt;
using render::BandKind;

namespace {

const QString kAlias = QStringLiteral("jigtally 2008");

void setInfo(test::ReportFixture& f, const QVariantMap& values) {
    engine::Table& info = f.info();
    info.first();
    info.edit();
    for (auto it = values.begin(); it != values.end(); ++it)
        info.fieldByName(it.key())->setAsString(it.value().toString());
    info.post();
}

// Runs the command through its gates with "Preview" pressed.
void runFinal(test::ReportFixture& f, test::ScriptedDialogs& dialogs) {
    Q_UNUSED(dialogs);
    test::ScriptedReportDialogs reportDialogs;
    reportDialogs.answerChecklist(true);
    reportDialogs.answerLaunch(true);
    f.state.ReCalcFlag = false;
    reports::FinalResults1Click(f.state);
    QVERIFY(reportDialogs.allAnswered());
}

int linesIn(const render::Page& page, const render::PlacedBand& band) {
    int n = 0;
    for (const render::PlacedLine& l : page.lines)
        n += band.box.contains(QPointF(l.line.x1(), (l.line.y1() + l.line.y2()) / 2));
    return n;
}

QStringList marks(const QStringList& values) {
    QStringList out;
    for (const QString& v : values)
        out << v + QStringLiteral(".00");
    return out;
}

void verifyLeftClosed(test::ReportFixture& f) {
    engine::Table& t = f.results();
    QVERIFY(!t.active());
    QVERIFY(!t.exclusive());
    QVERIFY(t.indexName().isEmpty());
    engine::Table probe;
    probe.setDatabaseName(kAlias);
    probe.setTableName(QStringLiteral("u12.dbf"));
    probe.updateIndexDefs();
    for (const auto& def : probe.indexDefs())
        QVERIFY(def.name != QStringLiteral("final"));
}

} // namespace

class TestFinalReport final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layouts_data();
    void layouts();
    void workedExample();
    void realCompetition();
    void pages();
};

void TestFinalReport::layouts_data() {
    QTest::addColumn<QString>("numAdjs");
    QTest::addColumn<QString>("numRounds");
    QTest::addColumn<QString>("definition");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("rounds");
    QTest::newRow("5 adjudicators, 3 rounds")
        << QStringLiteral("5") << QStringLiteral("4") << QStringLiteral("TFinalRept") << 5 << 3;
    QTest::newRow("5 adjudicators, 2 rounds")
        << QStringLiteral("5") << QStringLiteral("3") << QStringLiteral("TFinalRept5x3") << 5 << 2;
    QTest::newRow("3 adjudicators, 3 rounds")
        << QStringLiteral("3") << QStringLiteral("4") << QStringLiteral("TFinalRept3x4") << 3 << 3;
    QTest::newRow("3 adjudicators, 2 rounds")
        << QStringLiteral("3") << QStringLiteral("3") << QStringLiteral("TFinalRept3x3") << 3 << 2;
    QTest::newRow("rounds blank") << QStringLiteral("5") << QString()
                                  << QStringLiteral("TFinalRept") << 5 << 3;
    QTest::newRow("adjudicators blank")
        << QString() << QStringLiteral("3") << QStringLiteral("TFinalRept5x3") << 5 << 2;
    QTest::newRow("both blank") << QString() << QString() << QStringLiteral("TFinalRept") << 5 << 3;
    QTest::newRow("other values") << QStringLiteral("4") << QStringLiteral("2")
                                  << QStringLiteral("TFinalRept") << 5 << 3;
}

void TestFinalReport::layouts() {
    QFETCH(QString, numAdjs);
    QFETCH(QString, numRounds);
    QFETCH(QString, definition);
    QFETCH(int, blocks);
    QFETCH(int, rounds);
    test::ReportFixture f;
    const QStringList names{QStringLiteral("Mary Walsh"), QStringLiteral("Seán Ó Briain"),
                            QStringLiteral("Ann Kelly"), QStringLiteral("Pat Doyle"),
                            QStringLiteral("Jo Lynch")};
    setInfo(f, {{QStringLiteral("NUMADJS"), numAdjs},
                {QStringLiteral("NUMROUNDS"), numRounds},
                {QStringLiteral("COMPNAME"), QStringLiteral("Under 12 Girls")},
                {QStringLiteral("ADJANAME"), names[0]},
                {QStringLiteral("ADJBNAME"), names[1]},
                {QStringLiteral("ADJCNAME"), names[2]},
                {QStringLiteral("ADJDNAME"), names[3]},
                {QStringLiteral("ADJENAME"), names[4]}});
    // Every mark field holds its own value, so each column shows which field it prints.
    QVariantMap dancer{{QStringLiteral("COMP_NO"), 42.0}, {QStringLiteral("GRIDTOTAL"), 287.5}};
    for (int i = 0; i < 5; ++i) {
        const QString x(QLatin1Char(char('A' + i)));
        dancer.insert(x + QStringLiteral("1"), 10 * i + 1.0);
        dancer.insert(x + QStringLiteral("2"), 10 * i + 2.0);
        dancer.insert(x + QStringLiteral("3"), 10 * i + 3.0);
        dancer.insert(x + QStringLiteral("SET"), 10 * i + 4.0);
        dancer.insert(x + QStringLiteral("GRID2"), 10 * i + 5.5);
    }
    f.addDancers({dancer});
    f.state.GlobalSchool = QStringLiteral("Feis Example 2026");
    test::ScriptedDialogs dialogs;
    runFinal(f, dialogs);

    QVERIFY(dialogs.messages().isEmpty());
    QCOMPARE(dialogs.previews().size(), 1);
    const render::Document& doc = dialogs.previews()[0];
    QCOMPARE(doc.title, definition);
    QCOMPARE(doc.orientation, render::Orientation::Landscape);
    QCOMPARE(doc.pageCount(), 1);
    const render::Page& page = doc.pages[0];
    QCOMPARE(page.size, QSizeF(297, 210));

    // Title band: event name, "MARKS", the display name and the note at the right.
    QVERIFY(test::textInBand(page, BandKind::Title, f.state.GlobalSchool));
    const render::PlacedText* name =
        test::textInBand(page, BandKind::Title, QStringLiteral("MARKS"));
    QVERIFY(name && name->pointSize == 14.0 && name->bold);
    const render::PlacedText* second =
        test::textInBand(page, BandKind::Title, QStringLiteral("U12"));
    QVERIFY(second);
    const render::PlacedText* note =
        test::textInBand(page, BandKind::Title,
                         QStringLiteral("(Non-recalled dancers may be in no particular order)"));
    QVERIFY(note && note->pointSize == 8.0 && note->align == render::Align::Right);
    QCOMPARE(note->box.right(), 287.0);
    QCOMPARE(note->box.top(), second->box.top());
    QVERIFY(!test::textInBand(page, BandKind::Title, QStringLiteral("Under 12 Girls")));
    QVERIFY(test::textInBand(page, BandKind::PageFooter, f.state.GlobalSchool));

    // Column header: a name row, then the headings; one vertical line before each
    // adjudicator block and one before the total, in the header and in every row.
    QStringList header;
    for (int i = 0; i < blocks; ++i)
        header << QStringLiteral("Adj %1:").arg(QLatin1Char(char('A' + i))) << names[i];
    header << QStringLiteral("Posn") << QStringLiteral("No.");
    QStringList row{QStringLiteral("1"), QStringLiteral("42")};
    for (int i = 0; i < blocks; ++i) {
        const QString x(QLatin1Char(char('A' + i)));
        for (int r = 1; r <= rounds; ++r) {
            header << x + QString::number(r);
            row << QString::number(10 * i + r) + QStringLiteral(".00");
        }
        header << QStringLiteral("Recall") << x + QStringLiteral("Grid");
        row << QString::number(10 * i + 4) + QStringLiteral(".00")
            << QString::number(10 * i + 5) + QStringLiteral(".50");
    }
    header << QStringLiteral("Total");
    row << QStringLiteral("287.50");
    QCOMPARE(test::firstBandTexts(page, BandKind::ColumnHeader), header);
    QCOMPARE(test::detailRows(doc), QList<QStringList>{row});
    for (const render::PlacedBand& band : page.bands)
        if (band.kind == BandKind::ColumnHeader || band.kind == BandKind::Detail)
            QCOMPARE(linesIn(page, band), blocks + 1);

    // Sizes and alignment: headings 7 pt, names 8 pt, rows 7 pt right-aligned, "Posn"
    // and "No." headings left-aligned.
    QCOMPARE(test::textInBand(page, BandKind::ColumnHeader, QStringLiteral("Adj A:"))->pointSize,
             8.0);
    QCOMPARE(test::textInBand(page, BandKind::ColumnHeader, names[0])->pointSize, 8.0);
    for (const QString& h : {QStringLiteral("Posn"), QStringLiteral("No.")}) {
        const render::PlacedText* t = test::textInBand(page, BandKind::ColumnHeader, h);
        QCOMPARE(t->pointSize, 7.0);
        QCOMPARE(t->align, render::Align::Left);
    }
    const render::PlacedText* aGrid =
        test::textInBand(page, BandKind::ColumnHeader, QStringLiteral("AGrid"));
    QCOMPARE(aGrid->align, render::Align::Right);
    const render::PlacedText* aGridCell =
        test::textInBand(page, BandKind::Detail, QStringLiteral("5.50"));
    QCOMPARE(aGridCell->align, render::Align::Right);
    QCOMPARE(aGridCell->pointSize, 7.0);
    QCOMPARE(aGridCell->box.right(), aGrid->box.right());
    // Every cell fits in its column: the widest value a mark column can show.
    const double cell = aGridCell->box.width();
    QVERIFY2(render::textWidthMm(QStringLiteral("100.00"), 7, false) <= cell,
             qPrintable(QString::number(cell)));
    QVERIFY(!f.state.ReCalcFlag);
    verifyLeftClosed(f);
}

// Grid totals 312.5, 312.5 and 300, one dancer not recalled and one with blank marks.
void TestFinalReport::workedExample() {
    test::ReportFixture f;
    setInfo(f, {{QStringLiteral("NUMADJS"), QStringLiteral("3")},
                {QStringLiteral("NUMROUNDS"), QStringLiteral("3")}});
    f.addDancers({{{QStringLiteral("COMP_NO"), 7.0},
                   {QStringLiteral("GRIDTOTAL"), 0.0},
                   {QStringLiteral("A1"), 55.0}},
                  {{QStringLiteral("COMP_NO"), 21.0}, {QStringLiteral("GRIDTOTAL"), 300.0}},
                  {{QStringLiteral("COMP_NO"), 9.0},
                   {QStringLiteral("GRIDTOTAL"), 312.5},
                   {QStringLiteral("A1"), 70.25}},
                  {{QStringLiteral("COMP_NO"), 14.0}, {QStringLiteral("GRIDTOTAL"), 312.5}}});
    test::ScriptedDialogs dialogs;
    runFinal(f, dialogs);
    QCOMPARE(dialogs.previews().size(), 1);
    const QList<QStringList> rows = test::detailRows(dialogs.previews()[0]);
    // Posn, No., A1, A2, Recall, AGrid, (B, C alike), Total.
    const auto row = [](const QString& posn, const QString& no, const QString& a1,
                        const QString& total) {
        QStringList r{posn, no, a1};
        r += marks(QStringList(11, QStringLiteral("0"))); // the other eleven columns
        return r << total;
    };
    QCOMPARE(rows, (QList<QStringList>{row(QStringLiteral("1"), QStringLiteral("9"),
                                           QStringLiteral("70.25"), QStringLiteral("312.50")),
                                       row(QStringLiteral("1"), QStringLiteral("14"),
                                           QStringLiteral("0.00"), QStringLiteral("312.50")),
                                       row(QStringLiteral("3"), QStringLiteral("21"),
                                           QStringLiteral("0.00"), QStringLiteral("300.00")),
                                       row(reports::kNoPlace, QStringLiteral("7"),
                                           QStringLiteral("55.00"), QStringLiteral("0.00"))}));
    // POSITION holds a number for the dancer printed "-.-".
    QCOMPARE(test::storedColumn(kAlias, QStringLiteral("u12.dbf"), QStringLiteral("POSITION")),
             (QVariantList{4.0, 3.0, 1.0, 1.0}));
    verifyLeftClosed(f);
}

// Marks entered and recalculated: the set dance decides; two dancers without set marks.
void TestFinalReport::realCompetition() {
    test::ReportFixture f;
    setInfo(f, {{QStringLiteral("NUMADJS"), QStringLiteral("3")},
                {QStringLiteral("NUMROUNDS"), QStringLiteral("3")}});
    // Round marks (both rounds alike per adjudicator) and set marks of A, B and C.
    struct Dancer {
        double compNo;
        double a1, a2, b1, b2, c1, c2, aSet, bSet, cSet;
    };
    const Dancer dancers[] = {
        {11, 81, 81, 80, 79, 82, 82, 85, 80, 78}, // P
        {12, 80, 80, 80, 81, 82, 82, 80, 84, 82}, // Q
        {13, 79, 79, 78, 78, 75, 76, 88, 83, 80}, // R
        {14, 71, 71, 70, 70, 75, 76, 0, 0, 0},    // S: not recalled
        {15, 0, 0, 0, 0, 0, 0, 0, 0, 0},          // U
    };
    QList<QVariantMap> records;
    for (const Dancer& d : dancers) {
        QVariantMap r{{QStringLiteral("COMP_NO"), d.compNo}};
        const auto put = [&r](const char* field, double v) {
            if (v > 0)
                r.insert(QString::fromLatin1(field), v);
        };
        put("A1", d.a1);
        put("A2", d.a2);
        put("B1", d.b1);
        put("B2", d.b2);
        put("C1", d.c1);
        put("C2", d.c2);
        put("ASET", d.aSet);
        put("BSET", d.bSet);
        put("CSET", d.cSet);
        records << r;
    }
    f.addDancers(records);
    scoring::recalculate(f.results());
    test::ScriptedDialogs dialogs;
    runFinal(f, dialogs);

    const QList<QStringList> expected = {
        QStringList{QStringLiteral("1"), QStringLiteral("12")} +
            marks({QStringLiteral("80"), QStringLiteral("80"), QStringLiteral("80"),
                   QStringLiteral("65"), QStringLiteral("80"), QStringLiteral("81"),
                   QStringLiteral("84"), QStringLiteral("100"), QStringLiteral("82"),
                   QStringLiteral("82"), QStringLiteral("82"), QStringLiteral("100"),
                   QStringLiteral("265")}),
        QStringList{QStringLiteral("2"), QStringLiteral("11")} +
            marks({QStringLiteral("81"), QStringLiteral("81"), QStringLiteral("85"),
                   QStringLiteral("100"), QStringLiteral("80"), QStringLiteral("79"),
                   QStringLiteral("80"), QStringLiteral("70"), QStringLiteral("82"),
                   QStringLiteral("82"), QStringLiteral("78"), QStringLiteral("75"),
                   QStringLiteral("245")}),
        QStringList{QStringLiteral("3"), QStringLiteral("13")} +
            marks({QStringLiteral("79"), QStringLiteral("79"), QStringLiteral("88"),
                   QStringLiteral("75"), QStringLiteral("78"), QStringLiteral("78"),
                   QStringLiteral("83"), QStringLiteral("70"), QStringLiteral("75"),
                   QStringLiteral("76"), QStringLiteral("80"), QStringLiteral("65"),
                   QStringLiteral("210")}),
        QStringList{reports::kNoPlace, QStringLiteral("14")} +
            marks({QStringLiteral("71"), QStringLiteral("71"), QStringLiteral("0"),
                   QStringLiteral("0"), QStringLiteral("70"), QStringLiteral("70"),
                   QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("75"),
                   QStringLiteral("76"), QStringLiteral("0"), QStringLiteral("0"),
                   QStringLiteral("0")}),
        QStringList{reports::kNoPlace, QStringLiteral("15")} +
            marks(QStringList(13, QStringLiteral("0")))};
    QCOMPARE(test::detailRows(dialogs.previews()[0]), expected);
    QCOMPARE(test::storedColumn(kAlias, QStringLiteral("u12.dbf"), QStringLiteral("POSITION")),
             (QVariantList{2.0, 1.0, 3.0, 4.0, 4.0}));
}

void TestFinalReport::pages() {
    test::ReportFixture f;
    QList<QVariantMap> dancers;
    for (int i = 0; i < 100; ++i)
        dancers.append(
            {{QStringLiteral("COMP_NO"), 500.0 + i}, {QStringLiteral("GRIDTOTAL"), 1000.0 - i}});
    f.addDancers(dancers);
    test::ScriptedDialogs dialogs;
    runFinal(f, dialogs);
    const render::Document& doc = dialogs.previews()[0];
    // Rows of 4.5 mm: 35 under the title and header of page 1, 38 on later pages.
    QCOMPARE(doc.pageCount(), 3);
    QVERIFY(doc.pages[0].findText(QStringLiteral("534")));
    QVERIFY(!doc.pages[0].findText(QStringLiteral("535")));
    QVERIFY(doc.pages[1].findText(QStringLiteral("535")));
    QVERIFY(doc.pages[1].findText(QStringLiteral("572")));
    QVERIFY(doc.pages[2].findText(QStringLiteral("573")));
    for (int p = 0; p < 3; ++p) {
        const render::Page& page = doc.pages[std::size_t(p)];
        QVERIFY(page.findText(QStringLiteral("Total")));
        QVERIFY(page.findText(QStringLiteral("Page %1").arg(p + 1)));
        QCOMPARE(page.findText(QStringLiteral("MARKS")) != nullptr, p == 0);
    }
}

QTEST_MAIN(TestFinalReport)
#include "tst_finalreport.moc"
