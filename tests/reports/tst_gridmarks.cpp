#include "ReportFixture.h"
#include "ReportRows.h"
#include "engine/EngineError.h"
#include "reports/ReportCommands.h"
#include "reports/ReportTexts.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace jt;
using render::Align;
using render::BandKind;

namespace {

// The grid marks run as the menu starts it, with "Preview" pressed.
void runGridMarks(test::ReportFixture& f) {
    test::ScriptedReportDialogs reportDialogs;
    reportDialogs.answerLaunch(true);
    reports::ResultsbyAdjA1Click(f.state);
    QVERIFY(reportDialogs.allAnswered());
}

void setInfo(test::ReportFixture& f, const QVariantMap& values) {
    engine::Table& info = f.info();
    info.first();
    info.edit();
    for (auto it = values.begin(); it != values.end(); ++it)
        info.fieldByName(it.key())->setValue(it.value());
    info.post();
}

QVariantMap graded(double no, double a, double b, double c, double d, double e, double total) {
    return {{QStringLiteral("COMP_NO"), no},     {QStringLiteral("AGRID2"), a},
            {QStringLiteral("BGRID2"), b},       {QStringLiteral("CGRID2"), c},
            {QStringLiteral("DGRID2"), d},       {QStringLiteral("EGRID2"), e},
            {QStringLiteral("GRIDTOTAL"), total}};
}

// Results table as every report run must leave it.
void verifyRestored(test::ReportFixture& f) {
    engine::Table& t = f.results();
    QVERIFY(!t.active());
    QVERIFY(!t.exclusive());
    QVERIFY(!t.filtered());
    QVERIFY(t.filter().isEmpty());
    QVERIFY(t.indexName().isEmpty());
    QVERIFY(!test::hasStoredIndex(t, QStringLiteral("dancer")));
}

} // namespace

class TestGridMarks final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowsInNumberOrder();
    void headingsAndTitle();
    void nothingBeforeTheSetDance();
    void failureStillRestoresTable();
    void manyDancersPages();
};

void TestGridMarks::rowsInNumberOrder() {
    // Three adjudicators, but D and E hold stored values: they print all the same.
    test::ReportFixture f;
    f.addDancers({graded(12, 75, 65, 100, 0, 0, 240), graded(3, 100, 62.5, 0.5, 7, 0, 163),
                  graded(7, 0, 0, 0, 0, 0, 0), graded(25, 1, 2, 3, 0, 0, 6),
                  graded(18, 0, 0, 0, 0, 0, 0.001)});
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    bool filteredWhilePreviewing = false;
    dialogs.whilePreviewing([&](const render::Document&) {
        engine::Table& t = f.results();
        filteredWhilePreviewing = t.active() && t.exclusive() && t.filtered() &&
                                  t.filter() == QStringLiteral("GRIDTOTAL <> 0.00") &&
                                  t.indexName() == QStringLiteral("dancer");
    });
    runGridMarks(f);

    QVERIFY(dialogs.messages().isEmpty());
    QCOMPARE(dialogs.previews().size(), 1);
    QVERIFY(filteredWhilePreviewing);
    const QList<QStringList> rows = test::detailRows(dialogs.previews()[0]);
    // Dancer 7 has no grid total and is left out; 18's total is not 0 (it shows as 0).
    const QList<QStringList> expected{
        {QStringLiteral("3"), QStringLiteral("100"), QStringLiteral("62.5"), QStringLiteral("0.5"),
         QStringLiteral("7"), QStringLiteral("0"), QStringLiteral("163")},
        {QStringLiteral("12"), QStringLiteral("75"), QStringLiteral("65"), QStringLiteral("100"),
         QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("240")},
        {QStringLiteral("18"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
         QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")},
        {QStringLiteral("25"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
         QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("6")},
    };
    QCOMPARE(rows, expected);
    verifyRestored(f);
    QVERIFY(!f.state.ReCalcFlag);
    // Nothing written.
    QCOMPARE(test::storedColumn(f.results(), QStringLiteral("POSITION")),
             QVariantList(5, QVariant()));
}

void TestGridMarks::headingsAndTitle() {
    test::ReportFixture f;
    setInfo(f, {{QStringLiteral("ADJANAME"), QStringLiteral("Mary Walsh")},
                {QStringLiteral("ADJCNAME"), QStringLiteral("Seán Ó Sé")},
                {QStringLiteral("ADJENAME"), QStringLiteral("Eve Nolan")}});
    f.addDancers({graded(4, 100, 100, 100, 100, 100, 500)});
    f.state.ReCalcFlag = false;
    f.state.GlobalSchool = QStringLiteral("Feis Example 2026");
    test::ScriptedDialogs dialogs;
    runGridMarks(f);
    const render::Document& doc = dialogs.previews()[0];
    QCOMPARE(doc.pageCount(), 1);
    const render::Page& page = doc.pages[0];

    const QStringList header = test::bandTexts(page, BandKind::ColumnHeader);
    QCOMPARE(header, (QStringList{QStringLiteral("Mary Walsh"), QStringLiteral("Seán Ó Sé"),
                                  QStringLiteral("Eve Nolan"), QStringLiteral("Dancer"),
                                  QStringLiteral("Grid A"), QStringLiteral("Grid B"),
                                  QStringLiteral("Grid C"), QStringLiteral("Grid D"),
                                  QStringLiteral("Grid E"), QStringLiteral("Total")}));
    // Each name and heading ends where its column's numbers end, all 8 pt.
    for (const char* heading : {"Grid A", "Grid C", "Grid E", "Total", "Dancer"}) {
        const render::PlacedText* h = page.findText(QString::fromLatin1(heading));
        QVERIFY2(h && h->align == Align::Right && h->pointSize == 8.0, heading);
    }
    QCOMPARE(page.findText(QStringLiteral("Mary Walsh"))->box.right(),
             page.findText(QStringLiteral("Grid A"))->box.right());
    QCOMPARE(page.findText(QStringLiteral("Eve Nolan"))->box.right(),
             page.findText(QStringLiteral("Grid E"))->box.right());
    QCOMPARE(page.findText(QStringLiteral("500"))->box.right(),
             page.findText(QStringLiteral("Total"))->box.right());
    QVERIFY(page.findText(QStringLiteral("Mary Walsh"))->box.bottom() <=
            page.findText(QStringLiteral("Grid A"))->box.top());

    // Title band: event banner, report name centred, the competition and the order note.
    QVERIFY(page.findText(QStringLiteral("Feis Example 2026"))->bold);
    const render::PlacedText* name = page.findText(QStringLiteral("GRID MARKS"));
    QVERIFY(name && name->align == Align::Center && name->pointSize == 14.0);
    const render::PlacedText* comp = page.findText(QStringLiteral("U12"));
    const render::PlacedText* note = page.findText(QStringLiteral("[In competitor number order]"));
    QVERIFY(comp && note);
    QCOMPARE(comp->pointSize, 10.0);
    QCOMPARE(note->pointSize, 10.0);
    QCOMPARE(note->box.top(), comp->box.top());
    QVERIFY(note->box.left() >= 105.0); // the right half
    // Footer with the event name again.
    QVERIFY(
        test::bandTexts(page, BandKind::PageFooter).contains(QStringLiteral("Feis Example 2026")));
    QVERIFY(page.findText(QStringLiteral("Page 1")));
}

void TestGridMarks::nothingBeforeTheSetDance() {
    test::ReportFixture f;
    f.addNumberedDancers(4); // every GRIDTOTAL empty, as before the set dance is marked
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    runGridMarks(f);
    QCOMPARE(dialogs.previews().size(), 1);
    QVERIFY(dialogs.previews()[0].isEmpty()); // no band, not even the title
    verifyRestored(f);
}

void TestGridMarks::failureStillRestoresTable() {
    test::ReportFixture f;
    f.addDancers({graded(1, 100, 100, 100, 0, 0, 300)});
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    dialogs.whilePreviewing([](const render::Document&) {
        throw engine::EngineError(QStringLiteral("The printer went away"));
    });
    bool restoredWhenShown = false;
    dialogs.onMessage([&](const test::ScriptedDialogs::Shown&) {
        restoredWhenShown = !f.results().active() && !f.results().filtered();
    });
    runGridMarks(f);
    QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("The printer went away.")});
    QVERIFY(restoredWhenShown); // clean-up before the error is shown
    verifyRestored(f);
    QVERIFY(!f.state.ReCalcFlag);

    // The table held elsewhere: sole use fails, the run ends with the store's message.
    dialogs.clear();
    dialogs.onMessage(nullptr);
    dialogs.whilePreviewing(nullptr);
    engine::Table other;
    other.setDatabaseName(f.results().databaseName());
    other.setTableName(f.results().tableName());
    other.open();
    runGridMarks(f);
    other.close();
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.previews().isEmpty());
    verifyRestored(f);
}

void TestGridMarks::manyDancersPages() {
    test::ReportFixture f;
    QList<QVariantMap> dancers;
    for (int i = 120; i >= 1; --i)
        dancers << graded(i, 1, 1, 1, 1, 1, 5);
    f.addDancers(dancers);
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    runGridMarks(f);
    const render::Document& doc = dialogs.previews()[0];
    QVERIFY(doc.pageCount() >= 2);
    const QList<QStringList> rows = test::detailRows(doc);
    QCOMPARE(rows.size(), 120);
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(rows[i].first(), QString::number(i + 1));
    for (const render::Page& page : doc.pages)
        QVERIFY(page.findText(QStringLiteral("Grid E"))); // the header on every page
}

QTEST_MAIN(TestGridMarks)
#include "tst_gridmarks.moc"
